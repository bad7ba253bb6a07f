// The program's Qt application. Every event it delivers on the window
// thread, painting aside, is handled under the engine lock of the state it
// guards, so the keys, the timers, the setup dialog and the device watch
// change the engine's state only while the MIDI engine thread is not using
// it, and painting never holds the engine up. Main thread only.
#pragma once

#include <QApplication>

class QDialog;

namespace cadenzo {

struct SystemState;

class EngineApplication final : public QApplication {
public:
    EngineApplication(int& argc, char** argv);

    // The state whose engine lock the events take; none, no lock is taken.
    void Guard(SystemState* state) { guarded_ = state; }
    SystemState* Guarded() const { return guarded_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    SystemState* guarded_ = nullptr;
};

// Main thread: runs a modal dialog to its end and returns its result. The
// engine lock is let go for as long as the dialog is open, so MIDI plays on
// while it waits for the player; a message box also holds the dispatch
// until it has closed. Any Qt application will do: without a guarded state
// the dialog simply runs.
int RunModal(QDialog& dialog, bool messageBox);

}  // namespace cadenzo
