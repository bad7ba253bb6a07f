// Which callback each of the program's three JACK inputs plays into. The
// main thread binds, starts and unbinds; the process callback holds the lock
// while it plays a cycle's input, so once Unbind returns the old callback no
// longer runs. The main thread holds it only for a copy.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>

#include "midi/midi_backend.h"
#include "midi/priority_mutex.h"

namespace cadenzo {

inline constexpr size_t kJackInputCount = 3;

struct InputBinding {
    MidiInputCallback callback = nullptr;
    void* context = nullptr;
    bool started = false;  // data reaches the callback
};

class InputBindings {
public:
    // Main thread.
    void Bind(size_t port, MidiInputCallback callback, void* context) { Set(port, {callback, context, false}); }
    void Start(size_t port) {
        std::lock_guard guard(lock_);
        bindings_[port].started = true;
    }
    void Unbind(size_t port) { Set(port, {}); }

    // Process thread: hold Lock() around every use of Of().
    PriorityInheritingMutex& Lock() { return lock_; }
    const InputBinding& Of(size_t port) const { return bindings_[port]; }

private:
    void Set(size_t port, InputBinding binding) {
        std::lock_guard guard(lock_);
        bindings_[port] = binding;
    }

    PriorityInheritingMutex lock_;
    std::array<InputBinding, kJackInputCount> bindings_{};
};

}  // namespace cadenzo
