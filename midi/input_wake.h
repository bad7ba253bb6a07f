// Wakes the MIDI engine thread when the input queue may hold entries,
// without allocating or blocking on the signalling thread: an event file
// descriptor that the engine thread waits on, written at most once while a
// wake is pending.
#pragma once

#include <atomic>

namespace cadenzo {

class InputWake {
public:
    InputWake();
    ~InputWake();
    InputWake(const InputWake&) = delete;
    InputWake& operator=(const InputWake&) = delete;

    // Any thread: asks for a wake unless one is already pending. A wake that
    // could not be written leaves the next call free to try again.
    void Signal();
    // Any thread: a wake written whatever is pending, for a stop that must
    // not be lost (the engine thread may have read the descriptor and not
    // yet cleared the pending flag).
    void SignalAlways();
    // The engine thread, on wake: clears the signal. Call before draining the
    // queue, so that entries pushed during the drain wake it again.
    void Acknowledge();
    // The descriptor that becomes readable on a wake (-1 if none could be made).
    int Fd() const { return fd_; }
    // Why no descriptor could be made (an errno value), 0 when it was.
    int CreateError() const { return createError_; }

private:
    int fd_;
    int createError_;
    std::atomic<bool> pending_{false};
};

}  // namespace cadenzo
