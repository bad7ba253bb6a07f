#include "midi/input_wake.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace cadenzo {

InputWake::InputWake() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

InputWake::~InputWake() {
    if (fd_ >= 0) ::close(fd_);
}

void InputWake::Signal() {
    if (pending_.exchange(true, std::memory_order_acq_rel)) return;
    const uint64_t one = 1;
    // A failed write loses only this wake; the entry stays queued for the next.
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

void InputWake::Acknowledge() {
    uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_, &count, sizeof count);
    pending_.store(false, std::memory_order_release);
}

}  // namespace cadenzo
