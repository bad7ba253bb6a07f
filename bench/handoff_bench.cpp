// Input hand-off figures: messages per second through the input queue with
// two producers, and the latency from the input callback to the synth output
// at 1,000 and 20,000 messages per second (median, p99, max), for two paths
// measured in the same run:
// - the program's: the input callback dispatches while the engine lock is
//   free, the MIDI engine thread when it is not;
// - the window thread's, as earlier versions had it: the callback only
//   queues, and the wake, watched by the window's event loop, has the input
//   dispatched there.
// Each is measured with the window idle and with the window painting: the
// main window shown, its monitor pane adding a line per message, and the
// whole window asked to repaint every 10 ms.
//
//   handoff_bench            (offscreen; QT_QPA_PLATFORM=xcb under an X server)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include <QKeyEvent>
#include <QSocketNotifier>
#include <QTimer>

#include "app/message_hook.h"
#include "app/thread_timer.h"
#include "bank/options_file.h"
#include "bench_rig.h"
#include "engine/dispatcher.h"
#include "engine/engine_thread.h"
#include "midi/input_queue.h"
#include "engine/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/main_form.h"

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

// The hop of earlier versions: the callbacks only queue (the dispatch is
// held for them), and the window's event loop watches the wake and drains
// the queue on the window thread (under the engine lock, as every event is).
class WindowThreadHandOff {
public:
    explicit WindowThreadHandOff(SystemState& s) : notifier_(s.Input.Wake.Fd(), QSocketNotifier::Read) {
        HoldDispatch(s.Input);
        QObject::connect(&notifier_, &QSocketNotifier::activated, [&s] {
            s.Input.Wake.Acknowledge();
            uint32_t entry = 0;
            while (s.Input.Queue.Pop(entry)) ProcessInputEntry(s, entry);
        });
    }

private:
    QSocketNotifier notifier_;
};

enum class Path { Program, WindowThread };

// The program's state on virtual devices, with the main window as its
// display; the window's events run under the state's engine lock.
struct Program {
    Program() {
        s->Io = {&dialogs, &form, &midi};
        InitBankDefaults(s->Bank);
        ApplyOptionDefaults(s->Options);
        s->Options.MonitorSource = 1;  // In1's messages, while the pane shows
        EnumerateMidiDevices(*s);
        SelectIn1Port(*s, 1);
        SelectSynthOutPort(*s, 1);
        s->Bank.Bank.Slots[0].Channels[0].In1Channel = 17;
        LoadMix(s->Bank, 0);
        static_cast<EngineApplication*>(qApp)->Guard(s.get());
        qApp->installEventFilter(&hook);
    }
    ~Program() {
        hook.SetLoopRunning(false);
        qApp->removeEventFilter(&hook);
        static_cast<EngineApplication*>(qApp)->Guard(nullptr);
        CloseAllPorts(*s);
    }

    std::unique_ptr<SystemState> s = std::make_unique<SystemState>();
    VirtualMidiBackend midi{{"Keys"}, {"Synth"}};
    bench::SilentDialogs dialogs;
    ThreadTimer timer;
    TMainForm form{*s, timer, dialogs};
    MessageHook hook{*s};
};

// The window painting: shown, its monitor pane on, and all of it repainted
// every 10 ms (through the event loop, as Qt paints).
void StartPainting(Program& program, QTimer& repaint) {
    program.form.show();
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&program.form, &f3);
    QObject::connect(&repaint, &QTimer::timeout, &program.form, [&program] { program.form.update(); });
    repaint.start(10);
}

void Latency(Path path, bool painting, uint32_t perSecond, uint32_t count) {
    Program program;
    Stamps stamps;
    program.midi.SetRecording(false);
    program.midi.SetOutputTap(0, &OnSynthMessage, &stamps);
    QTimer repaint;
    if (painting) StartPainting(program, repaint);
    std::unique_ptr<EngineThread> engine;
    std::unique_ptr<WindowThreadHandOff> windowThread;
    if (path == Path::Program)
        engine = std::make_unique<EngineThread>(*program.s);
    else
        windowThread = std::make_unique<WindowThreadHandOff>(*program.s);
    program.hook.SetLoopRunning(true);
    QCoreApplication::processEvents();

    std::thread keys([&] {
        const auto period = std::chrono::nanoseconds(1'000'000'000 / perSecond);
        auto next = Clock::now();
        for (uint32_t i = 0; i < count; ++i) {
            std::this_thread::sleep_until(next);
            stamps.sent[i] = Clock::now();
            program.midi.Feed(0, NumberedNoteOn(i));
            next += period;
        }
    });
    while (stamps.arrivals.load(std::memory_order_acquire) < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    keys.join();
    const bool realTime = engine && engine->RealTime();
    engine.reset();

    std::vector<double> micros;
    for (uint32_t i = 0; i < count; ++i)
        micros.push_back(std::chrono::duration<double, std::micro>(stamps.arrived[i] - stamps.sent[i]).count());
    std::sort(micros.begin(), micros.end());
    std::printf("%-14s %-9s %5u messages/s: median %6.1f us, p99 %7.1f us, max %7.1f us (%u messages)%s\n",
                path == Path::Program ? "program" : "window thread", painting ? "painting" : "idle",
                perSecond, micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(), count,
                realTime ? ", engine thread at real-time priority" : "");
}

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    cadenzo::EngineApplication app(argc, argv);
    cadenzo::QueueThroughput();
    std::printf("callback to synth output, window on the %s platform:\n", qPrintable(QApplication::platformName()));
    using cadenzo::Path;
    for (const bool painting : {false, true})
        for (const Path path : {Path::WindowThread, Path::Program}) {
            cadenzo::Latency(path, painting, 1000, 3000);
            cadenzo::Latency(path, painting, 20000, 16000);
        }
    return 0;
}
