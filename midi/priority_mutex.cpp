#include "midi/priority_mutex.h"

namespace cadenzo {

PriorityInheritingMutex::PriorityInheritingMutex() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
    pthread_mutex_init(&mutex_, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

PriorityInheritingMutex::~PriorityInheritingMutex() { pthread_mutex_destroy(&mutex_); }

}  // namespace cadenzo
