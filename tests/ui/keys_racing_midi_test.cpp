// Key edits on the main window racing MIDI input on the engine thread, with
// the glide thread running: the thread sanitizer build watches every access,
// and every message is still played, in order, with what the engine thread
// changed reaching the screen on the window's own tick.
#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "app/message_hook.h"
#include "app/thread_timer.h"
#include "engine/engine_thread.h"
#include "support/engine_rig.h"
#include "ui/display_text.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/main_form.h"

namespace cadenzo {
namespace {

using Clock = std::chrono::steady_clock;

class KeysRacingMidi : public ::testing::Test {
protected:
    KeysRacingMidi() {
        HoldDispatch(rig.s.Input);  // the rig's message loop is the hook's below
        const EngineAccess access(rig.s.Engine);  // the engine thread runs already
        for (ChannelRecord& layer : rig.s.Bank.Bank.Slots[0].Channels) layer.In1Channel = 17;
        LoadMix(rig.s.Bank, 0);
        rig.s.Options.MonitorSource = kMonitorIn1;  // the pane shows what In1 plays
        rig.s.Io.display = &form;
        application->Guard(&rig.s);
        qApp->installEventFilter(&hook);
        form.show();
        hook.SetLoopRunning(true);
    }
    ~KeysRacingMidi() override {
        hook.SetLoopRunning(false);
        qApp->removeEventFilter(&hook);
        application->Guard(nullptr);
    }

    // Runs the window's loop until `done` or two seconds have passed.
    template <class Done>
    void RunLoopUntil(Done done) {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!done() && Clock::now() < deadline) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::string ProgramLabel() const { return form.findChild<QLabel*>("ProgramLabel")->text().toStdString(); }

    EngineApplication* application = static_cast<EngineApplication*>(qApp);
    test::EngineRig rig;
    ThreadTimer timer;
    TMainForm form{rig.s, timer, rig.dialogs};
    MessageHook hook{rig.s};
    EngineThread engine{rig.s};
    QTableWidget* grid = form.findChild<QTableWidget*>("StringGrid1");
};

TEST_F(KeysRacingMidi, EditsAndPlayingShareTheStateAndTheScreenFollowsTheEngine) {
    QTest::keyClick(grid, Qt::Key_F3);  // the monitor pane, painting a line per message
    std::atomic<bool> playing{true};
    uint32_t played = 0;
    std::thread player([&] {
        for (uint32_t i = 0; playing.load(); ++i) {
            const uint32_t note = 36 + i % 48;
            rig.midi.Feed(0, PackShortMessage(0x90, 0, note, 100));
            rig.midi.Feed(0, PackShortMessage(0xE0, 0, 0, 64 + i % 32));  // the glide thread bends
            rig.midi.Feed(0, PackShortMessage(0xB0, 0, 7, i % 128));
            rig.midi.Feed(0, PackShortMessage(0x80, 0, note, 0));
            if (i % 50 == 0) rig.midi.Feed(0, PackShortMessage(0xC0, 0, i / 50 % 8, 0));
            played = i + 1;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const Qt::Key keys[] = {Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Down, Qt::Key_1,  Qt::Key_Q,
                            Qt::Key_F8,     Qt::Key_F7,     Qt::Key_A,    Qt::Key_Z,  Qt::Key_Space,
                            Qt::Key_Right,  Qt::Key_L,      Qt::Key_K,    Qt::Key_0,  Qt::Key_Backspace};
    for (int round = 0; round < 20; ++round) {
        for (Qt::Key key : keys) QTest::keyClick(grid, key);
        QTest::keyClick(grid, Qt::Key_Period, Qt::ShiftModifier);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    playing = false;
    player.join();
    EXPECT_GT(played, 0u);

    rig.midi.Feed(0, PackShortMessage(0xC0, 0, 77, 0));  // the last word is the player's
    RunLoopUntil([&] {
        const EngineAccess access(rig.s.Engine);
        return rig.s.Bank.CurrentProgram == 77 && ProgramLabel() == ProgramLabelText(rig.s.Bank, rig.s.Options);
    });
    const EngineAccess access(rig.s.Engine);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 77u);
    EXPECT_EQ(ProgramLabel(), ProgramLabelText(rig.s.Bank, rig.s.Options)) << "shown on the window's tick";
    EXPECT_TRUE(rig.s.Input.Queue.Empty());
}

}  // namespace
}  // namespace cadenzo
