// The engine lock. The engine's state (the bank and working mix, the
// options, the performance, terca, transmission and drum state) has one
// owner at a time: a MIDI input callback or the MIDI engine thread while it
// dispatches input, the window thread while it handles an event other than
// layout and painting. The lock inherits priority, so a real-time engine
// thread never waits behind a window thread that the scheduler has put
// aside. Locking never allocates.
#pragma once

#include <atomic>
#include <thread>

#include "midi/priority_mutex.h"

namespace cadenzo {

class EngineLock {
public:
    void Lock();
    // Takes the lock if it is free; never waits (for the MIDI callbacks).
    bool TryLock();
    void Unlock();
    // Whether the calling thread holds the lock.
    bool HeldByThisThread() const;

private:
    PriorityInheritingMutex mutex_;
    std::atomic<std::thread::id> owner_{};
};

// Holds the engine lock for its scope, unless the calling thread holds it
// already (a handler nested in another): then it does nothing.
class EngineAccess {
public:
    explicit EngineAccess(EngineLock& lock);
    ~EngineAccess();
    EngineAccess(const EngineAccess&) = delete;
    EngineAccess& operator=(const EngineAccess&) = delete;

private:
    EngineLock& lock_;
    bool took_;
};

// Lets go of the engine lock for its scope, if the calling thread holds it,
// and takes it again at the end: around a modal dialog, whose own loop
// handles events (each under the lock) while the engine goes on playing.
class EngineReleased {
public:
    explicit EngineReleased(EngineLock& lock);
    ~EngineReleased();
    EngineReleased(const EngineReleased&) = delete;
    EngineReleased& operator=(const EngineReleased&) = delete;

private:
    EngineLock& lock_;
    bool released_;
};

}  // namespace cadenzo
