// Input hand-off figures: messages per second through the input queue with
// two producers, and the latency from the input callback to the synth
// output through the real Qt event loop at 1,000 and 20,000 messages per
// second (median, p99, max).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <QApplication>

#include "app/message_hook.h"
#include "bank/options_file.h"
#include "bench_rig.h"
#include "midi/input_queue.h"
#include "midi/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "support/recorders.h"

namespace cadenzo {
namespace {

using Clock = std::chrono::steady_clock;

void QueueThroughput() {
    static InputQueue queue;
    constexpr uint32_t kPerProducer = 5'000'000;
    std::atomic<bool> go{false};
    auto produce = [&](uint32_t tag) {
        while (!go.load()) std::this_thread::yield();
        for (uint32_t i = 0; i < kPerProducer;)
            if (queue.Push(tag | (i & 0xFFFFFF))) ++i;
    };
    std::thread a(produce, 0x01000000), b(produce, 0x02000000);
    const auto start = Clock::now();
    go = true;
    uint64_t taken = 0;
    uint32_t entry = 0;
    while (taken < 2ull * kPerProducer)
        if (queue.Pop(entry)) ++taken;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    a.join();
    b.join();
    std::printf("input queue, two producers: %.1f million messages/s\n", taken / seconds / 1e6);
}

// Note-ons whose note and velocity number the message, so each arrival can
// be matched with its departure.
constexpr uint32_t kMaxMessages = 127 * 128;
ShortMessage NumberedNoteOn(uint32_t i) { return PackShortMessage(0x90, 0, i % 128, i / 128 + 1); }
uint32_t NumberOf(ShortMessage m) { return ((m >> 16 & 0x7F) - 1) * 128 + (m >> 8 & 0x7F); }

struct Stamps {
    std::vector<Clock::time_point> sent = std::vector<Clock::time_point>(kMaxMessages);
    std::vector<Clock::time_point> arrived = std::vector<Clock::time_point>(kMaxMessages);
    std::atomic<uint32_t> arrivals{0};
};

void OnSynthMessage(void* user, ShortMessage m) {
    auto& stamps = *static_cast<Stamps*>(user);
    if ((m & 0xF0) != 0x90) return;
    stamps.arrived[NumberOf(m)] = Clock::now();
    stamps.arrivals.fetch_add(1, std::memory_order_release);
}

void Latency(uint32_t perSecond, uint32_t count) {
    static SystemState s;
    VirtualMidiBackend midi({"Keys"}, {"Synth"});
    bench::SilentDialogs dialogs;
    test::SilentDisplay display;
    Stamps stamps;
    midi.SetRecording(false);
    midi.SetOutputTap(0, &OnSynthMessage, &stamps);
    s.Io = {&dialogs, &display, &midi};
    InitBankDefaults(s.Bank);
    ApplyOptionDefaults(s.Options);
    EnumerateMidiDevices(s);
    SelectIn1Port(s, 1);
    SelectSynthOutPort(s, 1);
    s.Bank.Bank.Slots[0].Channels[0].In1Channel = 17;
    LoadMix(s.Bank, 0);
    MessageHook hook(s);
    qApp->installEventFilter(&hook);
    hook.SetLoopRunning(true);

    std::thread keys([&] {
        const auto period = std::chrono::nanoseconds(1'000'000'000 / perSecond);
        auto next = Clock::now();
        for (uint32_t i = 0; i < count; ++i) {
            std::this_thread::sleep_until(next);
            stamps.sent[i] = Clock::now();
            midi.Feed(0, NumberedNoteOn(i));
            next += period;
        }
    });
    while (stamps.arrivals.load(std::memory_order_acquire) < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    keys.join();
    qApp->removeEventFilter(&hook);
    CloseAllPorts(s);

    std::vector<double> micros;
    for (uint32_t i = 0; i < count; ++i)
        micros.push_back(std::chrono::duration<double, std::micro>(stamps.arrived[i] - stamps.sent[i]).count());
    std::sort(micros.begin(), micros.end());
    std::printf("callback to synth output at %5u messages/s: median %.1f us, p99 %.1f us, max %.1f us (%u messages)\n",
                perSecond, micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(), count);
}

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cadenzo::QueueThroughput();
    cadenzo::Latency(1000, 3000);
    cadenzo::Latency(20000, 16000);
    return 0;
}
