#include "midi/output_slot.h"

#include <thread>

namespace cadenzo {

// Sequentially consistent on both sides: a sender that counted itself in
// after a close took the handle away sees no handle, and a close that saw
// no sender counted in knows that none uses the old handle.
class OutputSlot::InUse {
public:
    explicit InUse(OutputSlot& slot) : slot_(slot) {
        slot_.senders_.fetch_add(1);
        handle_ = slot_.handle_.load();
    }
    ~InUse() { slot_.senders_.fetch_sub(1); }
    InUse(const InUse&) = delete;
    InUse& operator=(const InUse&) = delete;
    MidiOutputPort* Handle() const { return handle_; }

private:
    OutputSlot& slot_;
    MidiOutputPort* handle_;
};

bool OutputSlot::Send(ShortMessage m) {
    const InUse use(*this);
    if (use.Handle() == nullptr) return false;
    use.Handle()->Send(m);
    return true;
}

bool OutputSlot::Backlogged() {
    const InUse use(*this);
    return use.Handle() != nullptr && use.Handle()->Backlogged();
}

void OutputSlot::Attach(std::unique_ptr<MidiOutputPort> handle, uint32_t n) {
    // A handle still attached is closed by whoever attaches another.
    std::unique_ptr<MidiOutputPort> old = Detach();
    owned_ = std::move(handle);
    handle_.store(owned_.get());
    openNumber_.store(n, std::memory_order_release);
}

std::unique_ptr<MidiOutputPort> OutputSlot::Detach() {
    handle_.store(nullptr);
    openNumber_.store(0, std::memory_order_release);
    // A send never waits, so this is over within a send's time.
    while (senders_.load() != 0) std::this_thread::yield();
    return std::move(owned_);
}

}  // namespace cadenzo
