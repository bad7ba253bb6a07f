// A MIDI port buffer for one process cycle without a JACK server: events to
// read, and what is written kept in order, up to a capacity. Fixed arrays:
// nothing allocates.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "midi/jack/cycle_buffer.h"

namespace cadenzo::test {

class FakeCycleBuffer final : public CycleBuffer {
public:
    static constexpr size_t kMaxEvents = 64;
    struct Written {
        uint32_t frame;
        uint32_t message;  // status in the low byte
        bool operator==(const Written&) const = default;
    };

    explicit FakeCycleBuffer(size_t capacity = kMaxEvents) : capacity_(std::min(capacity, kMaxEvents)) {}

    // An input event of up to 12 bytes at `frame`.
    void Add(uint32_t frame, std::initializer_list<uint8_t> bytes) {
        Stored& e = events_[eventCount_++];
        e.frame = frame;
        e.size = std::min(bytes.size(), e.bytes.size());
        std::copy_n(bytes.begin(), e.size, e.bytes.begin());
    }

    uint32_t EventCount() const override { return static_cast<uint32_t>(eventCount_); }
    bool Event(uint32_t index, MidiEvent& event) const override {
        const Stored& e = events_[index];
        event = {e.frame, e.bytes.data(), e.size};
        return true;
    }
    bool Write(uint32_t frame, const uint8_t* bytes, size_t size) override {
        if (writtenCount_ == capacity_) return false;
        uint32_t message = 0;
        for (size_t i = 0; i < size && i < 3; ++i) message |= uint32_t{bytes[i]} << (8 * i);
        written_[writtenCount_++] = {frame, message};
        return true;
    }

    std::vector<Written> WrittenEvents() const { return {written_.begin(), written_.begin() + writtenCount_}; }
    void Clear() { writtenCount_ = eventCount_ = 0; }

private:
    struct Stored {
        uint32_t frame = 0;
        std::array<uint8_t, 12> bytes{};
        size_t size = 0;
    };
    size_t capacity_;
    std::array<Stored, kMaxEvents> events_{};
    size_t eventCount_ = 0;
    std::array<Written, kMaxEvents> written_{};
    size_t writtenCount_ = 0;
};

}  // namespace cadenzo::test
