// The hook of the message loop: every event the application delivers on the
// main thread is noted for the monitor's "program messages" view (as is
// each hand-off of queued input, 0x400, on whichever thread it happens).
// Its loop flag holds the dispatch until the loop runs and again once it has
// ended: queued input waits meanwhile and is taken, in order, as soon as the
// loop runs (while a message box is open it waits too, see RunModal).
#pragma once

#include <QObject>

#include "engine/system_state.h"

namespace cadenzo {

// Main thread: a message box is open, so the main thread waits on the user.
bool MessageBoxShowing();

class MessageHook final : public QObject {
public:
    explicit MessageHook(SystemState& state);
    ~MessageHook() override;

    // Main thread: the application's message loop starts or has ended.
    void SetLoopRunning(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SystemState& state_;
    bool loopRunning_ = false;
};

}  // namespace cadenzo
