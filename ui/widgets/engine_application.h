// The program's Qt application. Every event it delivers on the window
// thread is handled under the engine lock of the state it guards, so the
// keys, the timers, the setup dialog and the device follow watch change the
// engine's state only while the MIDI engine thread is not using it. Two
// kinds of event go without it, so that they never hold the engine up:
// - those that only lay out, style or paint (resizes, polish, paint, ...),
//   and the shortcut override that asks whether a key goes to a shortcut:
//   no handler of ours takes one of them; one that does must take
//   EngineAccess itself;
// - every event but input to an object left unguarded (the monitor pane and
//   what is in it, which shows text and reads nothing of the engine's; the
//   window's screen and monitor ticks, which take EngineAccess themselves
//   only for what they read of the engine's state).
// Main thread only.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

class QDialog;

namespace cadenzo {

struct SystemState;
class EngineLock;

class EngineApplication final : public QApplication {
public:
    EngineApplication(int& argc, char** argv);

    // The state whose engine lock the events take; none, no lock is taken.
    // Whenever the window thread is about to wait for events while it holds
    // that lock (a nested event loop started by a handler: a text drag, a
    // menu, a dialog), it lets go of it until it wakes, so the engine plays
    // on meanwhile.
    void Guard(SystemState* state) { guarded_ = state; }
    SystemState* Guarded() const { return guarded_; }

    // Events but input to `object` and its children go without the engine lock.
    void LeaveUnguarded(QObject* object);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    bool Unguarded(QObject* receiver) const;
    void AboutToWait();
    void Awake();

    SystemState* guarded_ = nullptr;
    EngineLock* releasedToWait_ = nullptr;  // the lock let go of while the thread waits
    std::vector<QPointer<QObject>> unguarded_;
};

// Main thread: leaves `object` unguarded when the application is an
// EngineApplication.
void LeaveUnguarded(QObject* object);

// Main thread: runs a modal dialog to its end and returns its result. The
// engine lock is let go for as long as the dialog is open, so MIDI plays on
// while it waits for the player; a message box also holds the dispatch
// until it has closed. Any Qt application will do: without a guarded state
// the dialog simply runs.
int RunModal(QDialog& dialog, bool messageBox);

}  // namespace cadenzo
