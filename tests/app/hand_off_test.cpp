// Input from the playing inputs reaching the synthesiser through the MIDI
// engine thread: without the window thread, in order, held while the message
// loop does not run and while a message box is open, and played on while a
// file dialog waits.
#include <chrono>
#include <memory>
#include <thread>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/message_hook.h"
#include "engine/engine_thread.h"
#include "support/descriptor_limit.h"
#include "support/engine_rig.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/qt_dialogs.h"

namespace cadenzo {
namespace {

using Clock = std::chrono::steady_clock;

// Controller 64 with value i % 128, and what the synth gets for it.
ShortMessage Played(uint32_t i) { return PackShortMessage(0xB0, 0, 64, i % 128); }

std::vector<ShortMessage> Expected(uint32_t from, uint32_t to) {
    std::vector<ShortMessage> v;
    for (uint32_t i = from; i < to; ++i) v.push_back(Played(i));
    return v;
}

void PlayFromAnotherThread(VirtualMidiBackend& midi, uint32_t from, uint32_t to) {
    std::thread keys([&] {
        for (uint32_t i = from; i < to; ++i) midi.Feed(0, Played(i));
    });
    keys.join();
}

// Waits, without running the window's event loop, until the synth has
// `count` messages or two seconds have passed.
void WaitForSynth(const VirtualMidiBackend& midi, size_t count) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (midi.Sent(0).size() < count && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

class HandOff : public ::testing::Test {
protected:
    HandOff() {
        HoldDispatch(rig.s.Input);  // the rig's message loop is the hook's below
        rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;  // one layer takes everything from In1
        qApp->installEventFilter(&hook);
        static_cast<EngineApplication*>(qApp)->Guard(&rig.s);
    }
    ~HandOff() override {
        static_cast<EngineApplication*>(qApp)->Guard(nullptr);
        qApp->removeEventFilter(&hook);
    }

    test::EngineRig rig;
    MessageHook hook{rig.s};
    EngineThread engine{rig.s};
};

// A handler that runs a nested event loop (as a text drag in the monitor
// pane does) lets go of the engine while the loop waits: input plays on.
TEST_F(HandOff, InputPlaysOnWhileAHandlerRunsANestedEventLoop) {
    class NestedLoopWidget final : public QWidget {
    public:
        explicit NestedLoopWidget(VirtualMidiBackend& midi) : midi_(midi) {}
        size_t playedDuringLoop = 0;

    protected:
        void keyPressEvent(QKeyEvent*) override {
            PlayFromAnotherThread(midi_, 0, 10);
            QEventLoop loop;
            QTimer look;
            const auto deadline = Clock::now() + std::chrono::seconds(1);
            connect(&look, &QTimer::timeout, [&] {
                if (midi_.Sent(0).size() >= 10 || Clock::now() > deadline) loop.quit();
            });
            look.start(5);
            loop.exec();
            playedDuringLoop = midi_.Sent(0).size();
        }

    private:
        VirtualMidiBackend& midi_;
    } widget(rig.midi);
    hook.SetLoopRunning(true);
    QTest::keyClick(&widget, Qt::Key_A);
    EXPECT_EQ(widget.playedDuringLoop, 10u);
}

// A burst that finds the engine busy (here held by this thread, which then
// lets go without dispatching) is played by the engine thread.
TEST_F(HandOff, ABurstThatFindsTheEngineBusyIsPlayedByTheEngineThreadCompleteAndInOrder) {
    hook.SetLoopRunning(true);
    rig.s.Engine.Lock();
    PlayFromAnotherThread(rig.midi, 0, 500);
    EXPECT_TRUE(rig.Synth().empty());
    rig.s.Engine.Unlock();
    WaitForSynth(rig.midi, 500);  // this thread runs no event loop meanwhile
    EXPECT_EQ(rig.Synth(), Expected(0, 500));
}

TEST_F(HandOff, InputWaitsUntilTheLoopRunsAndWhileAMessageBoxIsOpen) {
    PlayFromAnotherThread(rig.midi, 0, 50);  // during start-up
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(rig.Synth().empty());
    hook.SetLoopRunning(true);
    WaitForSynth(rig.midi, 50);
    ASSERT_EQ(rig.Synth(), Expected(0, 50));

    // Each handler of the box's loop holds the engine lock while it runs, so
    // the box is left idle for a while before its count is taken.
    QtDialogs dialogs;
    size_t duringBox = 0;
    QTimer::singleShot(0, [&] { PlayFromAnotherThread(rig.midi, 50, 150); });
    QTimer::singleShot(100, [&] {
        duringBox = rig.Synth().size();
        QApplication::activeModalWidget()->close();
    });
    dialogs.MessageBox("waiting", "Errorr...", MessageIcon::None);
    EXPECT_EQ(duringBox, 50u);
    WaitForSynth(rig.midi, 150);
    EXPECT_EQ(rig.Synth(), Expected(0, 150));

    hook.SetLoopRunning(false);  // the loop has ended
    PlayFromAnotherThread(rig.midi, 150, 160);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(rig.Synth().size(), 150u);
}

// A key command that opens a file dialog holds the engine lock; the dialog
// lets go of it, so the player is heard while it waits.
TEST_F(HandOff, MidiPlaysOnWhileAFileDialogWaitsUnderAHeldLock) {
    hook.SetLoopRunning(true);
    QtDialogs dialogs;
    size_t duringDialog = 0;
    QTimer::singleShot(0, [&] { PlayFromAnotherThread(rig.midi, 0, 100); });
    QTimer look;  // every few milliseconds, until all has come or a second has passed
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    QObject::connect(&look, &QTimer::timeout, [&] {
        duringDialog = rig.Synth().size();
        if (duringDialog == 100 || Clock::now() > deadline) QApplication::activeModalWidget()->close();
    });
    look.start(5);
    {
        EngineAccess keyCommand(rig.s.Engine);
        dialogs.OpenFileDialog({"Open Cadenzo Blends File", "Cadenzo Blends (*.cdb)|*.CDB", "cdb"});
        EXPECT_TRUE(rig.s.Engine.HeldByThisThread()) << "taken again once the dialog has closed";
    }
    EXPECT_EQ(duringDialog, 100u);
}

// With the engine free, the input callback plays the message itself, on its
// own thread, before the callback returns: no other thread is woken.
TEST(HandOffInTheCallback, AMessageIsPlayedBeforeItsCallbackReturnsWhileTheEngineIsFree) {
    test::EngineRig rig;
    rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;
    PlayFromAnotherThread(rig.midi, 0, 10);  // no engine thread, no window loop
    EXPECT_EQ(rig.Synth(), Expected(0, 10));
}

// Input that comes while the window thread holds the engine lock (here in a
// timer's handler) is played as soon as the handler ends, by the window
// thread itself, not left for the engine thread's wake.
TEST(HandOffAfterAWindowEvent, InputThatCameMeanwhileIsPlayedAtItsEnd) {
    test::EngineRig rig;
    rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;
    static_cast<EngineApplication*>(qApp)->Guard(&rig.s);
    size_t duringHandler = 1;
    QTimer::singleShot(0, [&] {
        PlayFromAnotherThread(rig.midi, 0, 10);
        duringHandler = rig.Synth().size();
    });
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (rig.Synth().size() < 10 && Clock::now() < deadline) QCoreApplication::processEvents();
    static_cast<EngineApplication*>(qApp)->Guard(nullptr);
    EXPECT_EQ(duringHandler, 0u);
    EXPECT_EQ(rig.Synth(), Expected(0, 10));
    EXPECT_TRUE(rig.s.Input.Queue.Empty());
}

// Where no wake descriptor could be made, the engine thread looks at the
// queue itself.
TEST(HandOffWithoutAWake, InputStillReachesTheSynthesiserInOrder) {
    std::unique_ptr<SystemState> s;
    {
        test::NoNewDescriptors outOfDescriptors;
        s = std::make_unique<SystemState>();
    }
    ASSERT_LT(s->Input.Wake.Fd(), 0);
    VirtualMidiBackend midi{{"Keys"}, {"Synth"}};
    test::RecordingDisplay display;
    test::RecordingDialogs dialogs;
    s->Io.dialogs = &dialogs;
    s->Io.midi = &midi;
    s->Io.display = &display;
    InitBankDefaults(s->Bank);
    ApplyOptionDefaults(s->Options);
    EnumerateMidiDevices(*s);
    SelectIn1Port(*s, 1);
    SelectSynthOutPort(*s, 1);
    LoadMix(s->Bank, 0);
    s->Bank.WorkingMix.Channels[0].In1Channel = 17;
    {
        MessageHook hook{*s};
        const EngineThread engine{*s};
        PlayFromAnotherThread(midi, 0, 20);  // during start-up: queued
        hook.SetLoopRunning(true);
        WaitForSynth(midi, 20);
    }
    CloseAllPorts(*s);
    EXPECT_EQ(midi.Sent(0), Expected(0, 20));
}

}  // namespace
}  // namespace cadenzo
