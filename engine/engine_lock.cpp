#include "engine/engine_lock.h"

namespace cadenzo {

void EngineLock::Lock() {
    mutex_.lock();
    owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

bool EngineLock::TryLock() {
    if (!mutex_.try_lock()) return false;
    owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    return true;
}

void EngineLock::Unlock() {
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
}

// Only the holder can find its own id here; every other thread sees another
// id or none, whatever the interleaving.
bool EngineLock::HeldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

EngineAccess::EngineAccess(EngineLock& lock) : lock_(lock), took_(!lock.HeldByThisThread()) {
    if (took_) lock_.Lock();
}

EngineAccess::~EngineAccess() {
    if (took_) lock_.Unlock();
}

EngineReleased::EngineReleased(EngineLock& lock) : lock_(lock), released_(lock.HeldByThisThread()) {
    if (released_) lock_.Unlock();
}

EngineReleased::~EngineReleased() {
    if (released_) lock_.Lock();
}

}  // namespace cadenzo
