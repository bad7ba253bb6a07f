#include "midi/input_wake.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace cadenzo {

InputWake::InputWake() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), createError_(fd_ < 0 ? errno : 0) {}

InputWake::~InputWake() {
    if (fd_ >= 0) ::close(fd_);
}

void InputWake::Signal() {
    if (pending_.exchange(true, std::memory_order_acq_rel)) return;
    const uint64_t one = 1;
    // A failed write wakes nobody, so no wake is pending: the entry stays
    // queued for the next signal that gets through.
    if (::write(fd_, &one, sizeof one) != static_cast<ssize_t>(sizeof one))
        pending_.store(false, std::memory_order_release);
}

void InputWake::Acknowledge() {
    uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_, &count, sizeof count);
    pending_.store(false, std::memory_order_release);
}

}  // namespace cadenzo
