#include "midi/output_slot.h"

#include <mutex>

namespace cadenzo {

bool OutputSlot::Send(ShortMessage m) {
    std::lock_guard guard(lock_);
    if (!handle_) return false;
    handle_->Send(m);
    return true;
}

void OutputSlot::Attach(std::unique_ptr<MidiOutputPort> handle, uint32_t n) {
    std::lock_guard guard(lock_);
    handle_ = std::move(handle);
    openNumber_.store(n, std::memory_order_release);
}

std::unique_ptr<MidiOutputPort> OutputSlot::Detach() {
    std::lock_guard guard(lock_);
    std::unique_ptr<MidiOutputPort> handle = std::move(handle_);
    openNumber_.store(0, std::memory_order_release);
    return handle;
}

}  // namespace cadenzo
