// Input from the playing inputs reaching the dispatcher through the wake and
// the hook of the real Qt event loop.
#include <chrono>
#include <memory>
#include <thread>

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "app/message_hook.h"
#include "support/descriptor_limit.h"
#include "support/engine_rig.h"

namespace cadenzo {
namespace {

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;  // one layer takes everything from In1
        qApp->installEventFilter(&hook);
    }
    void TearDown() override { qApp->removeEventFilter(&hook); }

    // Controller 64 with value i % 128 on In1, and what the synth gets for it.
    static ShortMessage Played(uint32_t i) { return PackShortMessage(0xB0, 0, 64, i % 128); }

    void PlayFromAnotherThread(uint32_t count) {
        std::thread keys([&] {
            for (uint32_t i = 0; i < count; ++i) rig.midi.Feed(0, Played(i));
        });
        keys.join();
    }
    // Runs the event loop until the synth has received `count` messages or a second has passed.
    void RunLoopFor(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (rig.Synth().size() < count && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::vector<ShortMessage> Expected(uint32_t count) const {
        std::vector<ShortMessage> v;
        for (uint32_t i = 0; i < count; ++i) v.push_back(Played(i));
        return v;
    }

    test::EngineRig rig;
    MessageHook hook{rig.s};
};

TEST_F(HandOff, ABurstWhileTheMainThreadIsBusyIsProcessedCompleteAndInOrder) {
    hook.SetLoopRunning(true);
    PlayFromAnotherThread(500);  // the main thread does not run its loop meanwhile
    EXPECT_TRUE(rig.Synth().empty());
    RunLoopFor(500);
    EXPECT_EQ(rig.Synth(), Expected(500));
}

TEST_F(HandOff, InputWaitsUntilTheLoopRunsAndWhileAMessageBoxIsOpen) {
    PlayFromAnotherThread(50);  // during start-up
    RunLoopFor(1);
    EXPECT_TRUE(rig.Synth().empty());

    QMessageBox box(QMessageBox::NoIcon, "Errorr...", "waiting", QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    hook.SetLoopRunning(true);
    PlayFromAnotherThread(100);
    RunLoopFor(1);
    EXPECT_TRUE(rig.Synth().empty());

    box.close();
    RunLoopFor(150);
    std::vector<ShortMessage> expected = Expected(50);
    for (ShortMessage m : Expected(100)) expected.push_back(m);
    EXPECT_EQ(rig.Synth(), expected);
}

// Where no wake descriptor could be made, the hook looks at the queue itself.
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

    MessageHook hook{*s};
    qApp->installEventFilter(&hook);
    hook.SetLoopRunning(true);
    QCoreApplication::processEvents();  // the hand-off for input queued during start-up
    std::thread keys([&] {
        for (uint32_t i = 0; i < 20; ++i) midi.Feed(0, PackShortMessage(0xB0, 0, 64, i));
    });
    keys.join();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (midi.Sent(0).size() < 20 && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    qApp->removeEventFilter(&hook);
    CloseAllPorts(*s);
    std::vector<ShortMessage> expected;
    for (uint32_t i = 0; i < 20; ++i) expected.push_back(PackShortMessage(0xB0, 0, 64, i));
    EXPECT_EQ(midi.Sent(0), expected);
}

}  // namespace
}  // namespace cadenzo
