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
#include "engine/port_manager.h"
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

// A run whose loop an exception out of an event handler ends; then a note
// from the port still open. 0 when the run failed and the note waits.
int RunEndedByAnException() {
    static SystemState state;
    QtDialogs dialogs;
    dialogs.Unattend();
    test::FakeTimer timer;
    VirtualMidiBackend midi{{"Keys"}, {"Synth"}};
    state.Io.dialogs = &dialogs;
    state.Io.midi = &midi;
    std::ofstream("Ostinata.ports") << "In1=Keys\n";
    int status = 0;
    {
        QtShell shell(state, timer, dialogs);
        // Thrown once the loop runs (it lets the dispatch go), however long
        // the start-up takes (under the thread checker, longer than 100 ms).
        QTimer failing;
        QObject::connect(&failing, &QTimer::timeout, [] {
            if (!DispatchHeld(state.Input)) throw std::runtime_error("a handler failed");
        });
        failing.start(20);
        if (RunProgram(state, shell) != kNotSavedStatus) status |= 1;
        midi.Feed(0, 0x403C90);
        if (!DispatchHeld(state.Input) || state.Input.Queue.Empty()) status |= 2;  // dispatched at once
    }
    CloseAllPorts(state);
    return status;
}

// The dispatch is held before the window goes, so a port still open cannot
// reach it. (In a child process: Qt leaves its loop marked as running.)
TEST_F(StopSignal, AnExceptionOutOfAnEventHandlerHoldsTheDispatchBeforeTheWindowGoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(RunEndedByAnException()), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace cadenzo
