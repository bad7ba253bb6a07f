// The MIDI back end on the ALSA sequencer: the program is one client
// "Cadenzo" with its six ports, and a port's device is the other client's
// port subscribed to it (inputs) or from it (outputs). Devices are listed
// as "client:port" by name, without the numeric address that changes when a
// device is plugged in again; the program's own ports are never listed.
// Service calls (lists, open, close, ListedPlace) belong to the main thread;
// input reaches the callbacks on the back end's input thread; each output
// port sends on its senders' thread, directly while its receiver has room,
// and otherwise through its queue, which the sender thread writes as room
// frees (midi/alsa/paced_output.h): a burst (a mix transmission) arrives
// whole at a software synthesiser, and no sender ever waits.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/alsa/input_delivery.h"
#include "midi/alsa/output_sender.h"
#include "midi/alsa/sequencer_client.h"
#include "midi/alsa/sequencer_input.h"
#include "midi/alsa/sequencer_ports.h"
#include "midi/alsa/sequencer_subscription.h"
#include "midi/midi_backend.h"
#include "midi/port_names.h"

namespace cadenzo {

class AlsaBackend final : public MidiBackend {
public:
    // Whether the sequencer can be opened.
    static bool Opens() { return SequencerClient::Opens(); }

    // Without a sequencer the back end lists no devices and opens none.
    explicit AlsaBackend(const std::string& clientName = kDefaultClientName);
    ~AlsaBackend() override;

    // ALSA, or none without a sequencer.
    std::optional<MidiService> AnsweringService() const override;
    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    MidiResult OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback, void* context,
                       std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult StartInput(MidiInputPort& port) override;
    MidiResult CloseInput(std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult OpenOutput(uint32_t device, const std::string& portName,
                        std::unique_ptr<MidiOutputPort>& handle) override;
    MidiResult CloseOutput(std::unique_ptr<MidiOutputPort>& handle) override;
    // Nothing once the subscription the program made is gone, even when a
    // device is back at the same address.
    std::optional<uint32_t> ListedPlace(const std::string& portName) override;
    std::optional<ClientPort> ClientPortOf(bool input, uint32_t device) const override;
    // Messages that could not be sent from the port (its queue full, or a
    // receiver that took nothing for a while).
    uint64_t LostMessages(size_t port) const override {
        return port < lost_.size() ? lost_[port].load(std::memory_order_relaxed) : 0;
    }

private:
    // Subscribes the program's port `index` to the device numbered
    // `device` in the last listing of its direction, where it sits now.
    MidiResult Join(size_t index, uint32_t device, bool input);
    void Leave(size_t index);
    std::vector<std::string> List(bool inputs);
    // The service handle's descriptor, for asking about receivers' room.
    int ServiceFd() const;

    struct Joined {
        Subscription subscription;
        bool ours;  // made by the program, not found in force already
    };
    // A device that refused a port of the program (another client holds it
    // exclusively): asked again only once the sequencer announced a change.
    struct Refusal {
        snd_seq_addr_t device;
        uint64_t announcements;  // how many had arrived before it was asked
    };

    SequencerClient client_;
    InputDelivery delivery_;
    std::unique_ptr<SequencerInput> input_;  // none without a sequencer
    std::unique_ptr<OutputSender> sender_;   // none without a sequencer
    std::vector<SequencerPort> inputs_;      // the last listings
    std::vector<SequencerPort> outputs_;
    std::array<std::optional<Joined>, kPortNames.size()> joined_;  // per port of the program, what it opened
    std::array<std::optional<Refusal>, kPortNames.size()> refused_;  // per port, its device's last refusal
    std::array<std::atomic<uint64_t>, kPortNames.size()> lost_{};  // per port of the program
};

}  // namespace cadenzo
