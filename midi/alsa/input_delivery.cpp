#include "midi/alsa/input_delivery.h"

#include <thread>

#include "midi/alsa/sequencer_event.h"

namespace cadenzo {

void InputDelivery::Start(size_t index, MidiInputCallback callback, void* context) {
    Port& port = ports_[index];
    port.callback = callback;
    port.context = context;
    port.live.store(true, std::memory_order_seq_cst);
}

void InputDelivery::Silence(size_t index) {
    ports_[index].live.store(false, std::memory_order_seq_cst);
    while (delivering_.load(std::memory_order_seq_cst) == static_cast<int>(index)) std::this_thread::yield();
}

template <typename Action>
void InputDelivery::Deliver(size_t index, Action deliver) {
    Port& port = ports_[index];
    // Silence() sees this port marked as delivering, or this thread sees it
    // silenced: never neither.
    delivering_.store(static_cast<int>(index), std::memory_order_seq_cst);
    if (port.live.load(std::memory_order_seq_cst)) deliver(port);
    delivering_.store(-1, std::memory_order_seq_cst);
}

void InputDelivery::Handle(size_t index, const snd_seq_event_t& event) {
    Deliver(index, [&](const Port& port) {
        const DecodedEvent decoded = DecodeSequencerEvent(event);
        for (size_t i = 0; i < decoded.count; ++i) port.callback(port.context, kMimData, decoded.messages[i]);
    });
}

void InputDelivery::Lose() {
    for (size_t index = 0; index < ports_.size(); ++index)
        Deliver(index, [](const Port& port) { port.callback(port.context, kMimDataLost, 0); });
}

}  // namespace cadenzo
