// A termination signal while a start-up box waits for a person: the box is
// answered at once and the run ends through the normal shutdown.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <QTimer>

#include <gtest/gtest.h>

#include "app/qt_shell.h"
#include "bank/mix_bank.h"
#include "midi/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "support/fake_timer.h"
#include "support/temp_dir.h"
#include "ui/widgets/qt_dialogs.h"

namespace cadenzo {
namespace {

class StopSignal : public test::InTempDir {};

TEST_F(StopSignal, DuringTheFirstStartUpBoxEndsTheRunAndSavesTheBank) {
    static SystemState state;  // outlives the main window, as in the program
    QtDialogs dialogs;
    test::FakeTimer timer;
    VirtualMidiBackend midi{{"Keys"}, {"Synth"}};
    state.Io.dialogs = &dialogs;
    state.Io.midi = &midi;
    // A fresh folder: the missing options file is the first box.
    QTimer::singleShot(100, [] { ::raise(SIGTERM); });
    testing::internal::CaptureStderr();
    int result = -1;
    {
        QtShell shell(state, timer, dialogs);
        result = RunProgram(state, shell);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_NE(said.find("Errorr!: Options file not exist!"), std::string::npos) << said;
    EXPECT_NE(said.find("Errorr!: Blends file \"def.cdb\" not exist!"), std::string::npos) << said;
    EXPECT_EQ(std::filesystem::file_size("def.cdb"), sizeof(MixBank));
}

// An exception out of an event handler ends the loop: the dispatch is held
// before the window goes, so a port still open cannot reach it.
TEST_F(StopSignal, AnExceptionOutOfAnEventHandlerHoldsTheDispatchBeforeTheWindowGoes) {
    static SystemState state;
    QtDialogs dialogs;
    dialogs.Unattend();
    test::FakeTimer timer;
    VirtualMidiBackend midi{{"Keys"}, {"Synth"}};
    state.Io.dialogs = &dialogs;
    state.Io.midi = &midi;
    std::ofstream("Ostinata.ports") << "In1=Keys\n";
    testing::internal::CaptureStderr();
    {
        QtShell shell(state, timer, dialogs);
        QTimer::singleShot(100, [] { throw std::runtime_error("a handler failed"); });
        EXPECT_EQ(RunProgram(state, shell), kNotSavedStatus);
        EXPECT_TRUE(DispatchHeld(state.Input));
        midi.Feed(0, 0x403C90);
        EXPECT_FALSE(state.Input.Queue.Empty()) << "the note waits: the window is going";
    }
    testing::internal::GetCapturedStderr();
    CloseAllPorts(state);
}

}  // namespace
}  // namespace cadenzo
