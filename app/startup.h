// The program's spine: the fixed start-up order, the message loop and the
// fixed shutdown order, under one guard that shows any error and ends the run.
#pragma once

#include <string>

#include "engine/system_state.h"

namespace cadenzo {

class Display;

// What the start-up and shutdown order asks of the GUI.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void ShowStartScreen(const std::string& text) = 0;
    virtual void SetStartScreenText(const std::string& text) = 0;
    virtual void CloseStartScreen() = 0;
    // Creates and shows the main window (which starts the glide timer) and
    // returns it as the display the engine talks to.
    virtual Display& CreateMainWindow() = 0;
    // Makes the message loop hand every message to the input dispatcher.
    virtual void InstallMessageHook() = 0;
    // Runs until the main window is closed.
    virtual void RunMessageLoop() = 0;
    // The application's display of an error that ended a step.
    virtual void ShowException(const std::string& message) = 0;
};

// The exit status of a run whose bank, or whose last options save, was not
// written.
inline constexpr int kNotSavedStatus = 1;

// Runs start-up, the message loop and shutdown; returns the exit status: 0,
// or kNotSavedStatus when the bank was not written at shutdown (an error
// ended the run first, or the write failed) or the last save of the options
// during the run failed.
int RunProgram(SystemState& s, Shell& shell);

}  // namespace cadenzo
