// The hook of the message loop. Every event the application delivers on the
// main thread passes the input dispatcher first; the input wake becomes the
// hand-off event (0x400) that makes the dispatcher drain the input queue
// (where no wake descriptor could be made, a 1 ms poll of the queue does).
// While the loop is not yet running, and while a message box is open, the
// dispatcher is not called: queued input waits and is taken, in order, as
// soon as the loop runs free again.
#pragma once

#include <QObject>

#include "engine/system_state.h"

namespace cadenzo {

// Main thread: a message box is open, so the main thread waits on the user
// and nothing of MIDI's may run there but what a callback does itself.
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
    bool MayDispatch() const;
    void PostHandOff();

    SystemState& state_;
    bool loopRunning_ = false;
    bool handOffWaiting_ = false;  // a hand-off was held back and must be posted again
};

}  // namespace cadenzo
