#include "midi/thread_wake.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace cadenzo {

ThreadWake::ThreadWake() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), createError_(fd_ < 0 ? errno : 0) {}

ThreadWake::~ThreadWake() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {

bool WriteWake(int fd) {
    const uint64_t one = 1;
    return ::write(fd, &one, sizeof one) == static_cast<ssize_t>(sizeof one);
}

}  // namespace

void ThreadWake::Signal() {
    if (pending_.exchange(true, std::memory_order_acq_rel)) return;
    // A failed write wakes nobody, so no wake is pending: the entry stays
    // queued for the next signal that gets through.
    if (!WriteWake(fd_)) pending_.store(false, std::memory_order_release);
}

void ThreadWake::SignalAlways() {
    pending_.store(true, std::memory_order_release);
    WriteWake(fd_);
}

void ThreadWake::Acknowledge() {
    uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_, &count, sizeof count);
    // An exchange, not a store: it reads the flag of a Signal that found it
    // still set, and with it whatever that signaller did before (a queued
    // entry, a stop), so the drain that follows sees it.
    pending_.exchange(false, std::memory_order_acq_rel);
}

}  // namespace cadenzo
