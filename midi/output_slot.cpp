#include "midi/output_slot.h"

#include <thread>

namespace cadenzo {

void OutputSlot::Lock() {
    while (busy_.test_and_set(std::memory_order_acquire)) {
        // Another thread is inside a single send: a few microseconds at most.
        while (busy_.test(std::memory_order_relaxed)) std::this_thread::yield();
    }
}

bool OutputSlot::Send(ShortMessage m) {
    Lock();
    const bool open = handle_ != nullptr;
    if (open) handle_->Send(m);
    Unlock();
    return open;
}

void OutputSlot::Attach(std::unique_ptr<MidiOutputPort> handle, uint32_t n) {
    Lock();
    handle_ = std::move(handle);
    openNumber_.store(n, std::memory_order_release);
    Unlock();
}

std::unique_ptr<MidiOutputPort> OutputSlot::Detach() {
    Lock();
    std::unique_ptr<MidiOutputPort> handle = std::move(handle_);
    openNumber_.store(0, std::memory_order_release);
    Unlock();
    return handle;
}

}  // namespace cadenzo
