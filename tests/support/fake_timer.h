// A platform timer double: fixed capabilities, optional failure, and ticks
// run on request on the calling thread.
#pragma once

#include <string>
#include <vector>

#include "engine/glide_timer.h"

namespace cadenzo::test {

class FakeTimer final : public MultimediaTimer {
public:
    TimerCaps GetDevCaps() override { return caps; }
    void BeginPeriod(uint32_t ms) override { calls.push_back("begin " + std::to_string(ms)); }
    uint32_t SetEvent(uint32_t delay, uint32_t resolution, TimerCallback cb, void* u) override {
        calls.push_back("set " + std::to_string(delay) + " " + std::to_string(resolution));
        if (fail) return 0;
        callback = cb;
        user = u;
        return 42;
    }
    void KillEvent(uint32_t id) override {
        calls.push_back("kill " + std::to_string(id));
        callback = nullptr;
    }
    void EndPeriod(uint32_t ms) override { calls.push_back("end " + std::to_string(ms)); }

    void Tick() {
        if (callback) callback(user);
    }

    TimerCaps caps{1, 1000000};
    bool fail = false;
    std::vector<std::string> calls;
    TimerCallback callback = nullptr;
    void* user = nullptr;
};

}  // namespace cadenzo::test
