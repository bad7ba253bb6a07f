// Wakes a waiting thread without allocating or blocking on the signalling
// thread: an event file descriptor that the waiting thread polls, written at
// most once while a wake is pending. Five wakes use it: the MIDI engine
// thread's, when the input queue may hold entries; the window's, when a
// lamp, monitor line or display change waits; the glide timer's, when a
// slide or bend waits; a back end's device changes, for device follow; and
// the ALSA output sender's, when a port queued what its receiver could not
// take at once.
#pragma once

#include <atomic>

namespace cadenzo {

class ThreadWake {
public:
    ThreadWake();
    ~ThreadWake();
    ThreadWake(const ThreadWake&) = delete;
    ThreadWake& operator=(const ThreadWake&) = delete;

    // Any thread: asks for a wake unless one is already pending. A wake that
    // could not be written leaves the next call free to try again.
    void Signal();
    // Any thread: a wake written whatever is pending, for a stop that must
    // not be lost (the waiting thread may have read the descriptor and not
    // yet cleared the pending flag).
    void SignalAlways();
    // The waiting thread, on wake: clears the signal. Call before draining the
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
