// Which callback each of the program's three JACK inputs plays into, and
// the tick the cycles run every millisecond of their frames. The main
// thread binds, starts and unbinds; the process callback reads them without
// waiting while it plays a cycle's input. Each binding is one of two
// records, the one in force published through an atomic pointer; a change
// fills the other record, publishes it and waits for the cycle under way
// (if any) to end, so once Unbind returns the old callback no longer runs,
// and the record the next change fills is one no cycle reads. Starting an
// input only sets its flag, so it never waits.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "midi/midi_backend.h"

namespace cadenzo {

inline constexpr size_t kJackInputCount = 3;

struct InputBinding {
    MidiInputCallback callback = nullptr;
    void* context = nullptr;
};

// The tick: `tick(user)`, skipped while `idle(user)` holds.
struct TickBinding {
    void (*tick)(void* user) = nullptr;
    void* user = nullptr;
    bool (*idle)(void* user) = nullptr;
};

class InputBindings {
public:
    InputBindings() {
        for (size_t port = 0; port < kJackInputCount; ++port) current_[port].store(&records_[port][0]);
        tick_.store(&tickRecords_[0]);
    }

    // Main thread.
    void Bind(size_t port, MidiInputCallback callback, void* context) {
        started_[port].store(false);
        Set(port, {callback, context});
    }
    // Data reaches the callback from now on (never waits).
    void Start(size_t port) { started_[port].store(true); }
    void Unbind(size_t port) {
        started_[port].store(false);
        Set(port, {});
    }
    // Main thread: the tick runs from the next cycle on; a null tick stops
    // it, and once that returns the old tick no longer runs.
    void SetTick(TickBinding tick) { Publish(tick_, tickRecords_, tick); }

    // Process thread: a cycle reads the bindings while one of these lives.
    class Reading {
    public:
        explicit Reading(InputBindings& bindings) : bindings_(bindings) { bindings_.cycles_.fetch_add(1); }
        ~Reading() { bindings_.cycles_.fetch_add(1); }
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;
        const InputBinding& Of(size_t port) const { return *bindings_.current_[port].load(); }
        bool Started(size_t port) const { return bindings_.started_[port].load(); }
        const TickBinding& Tick() const { return *bindings_.tick_.load(); }
        // Where the next tick falls, in thousandths of a frame from this
        // cycle's start (a millisecond is `rate` of them).
        uint64_t& NextTick() const { return bindings_.nextTick_; }

    private:
        InputBindings& bindings_;
    };

private:
    // How long a change waits at most for a cycle to end: a cycle that never
    // ends (a server gone inside it) holds nobody up for ever.
    static constexpr auto kCycleLimit = std::chrono::milliseconds(200);

    void Set(size_t port, InputBinding binding) { Publish(current_[port], records_[port], binding); }

    template <class Record>
    void Publish(std::atomic<const Record*>& current, std::array<Record, 2>& records, const Record& record) {
        const Record* now = current.load();
        Record& spare = records[now == &records[0] ? 1 : 0];
        spare = record;
        current.store(&spare);
        // Sequentially consistent with the cycle's count and load: a cycle
        // counted in after the store reads the new record.
        const uint64_t cycle = cycles_.load();
        if (cycle % 2 == 0) return;
        const auto deadline = std::chrono::steady_clock::now() + kCycleLimit;
        while (cycles_.load() == cycle && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }

    std::array<std::array<InputBinding, 2>, kJackInputCount> records_{};
    std::array<std::atomic<const InputBinding*>, kJackInputCount> current_{};
    std::array<std::atomic<bool>, kJackInputCount> started_{};  // data reaches the callback
    std::array<TickBinding, 2> tickRecords_{};
    std::atomic<const TickBinding*> tick_{};
    std::atomic<uint64_t> cycles_{0};  // odd while a cycle reads
    uint64_t nextTick_ = 0;            // process thread only
};

}  // namespace cadenzo
