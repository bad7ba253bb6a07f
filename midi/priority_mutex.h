// A mutex whose holder runs at the priority of the most urgent thread waiting
// for it (priority inheritance), so a real-time thread never waits behind a
// normal-priority holder that the scheduler has put aside. A waiter sleeps
// instead of spinning. Locking never allocates.
#pragma once

#include <pthread.h>

namespace cadenzo {

class PriorityInheritingMutex {
public:
    PriorityInheritingMutex();
    ~PriorityInheritingMutex();
    PriorityInheritingMutex(const PriorityInheritingMutex&) = delete;
    PriorityInheritingMutex& operator=(const PriorityInheritingMutex&) = delete;

    void lock() { pthread_mutex_lock(&mutex_); }
    bool try_lock() { return pthread_mutex_trylock(&mutex_) == 0; }
    void unlock() { pthread_mutex_unlock(&mutex_); }

private:
    pthread_mutex_t mutex_;
};

}  // namespace cadenzo
