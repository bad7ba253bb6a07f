// The thread that writes what the program's ALSA output ports have queued
// for their receivers (midi/alsa/paced_output.h), each port in its order:
// woken by a send that queued something, it drains every port, and while a
// receiver has no room it naps briefly and asks again. It runs without
// real-time priority: nothing that plays waits for it. The main thread adds
// and removes ports; its stop never depends on the wake's descriptor.
#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include "midi/alsa/paced_output.h"
#include "midi/thread_wake.h"
#include "midi/port_names.h"

namespace cadenzo {

class OutputSender {
public:
    OutputSender();
    ~OutputSender();
    OutputSender(const OutputSender&) = delete;
    OutputSender& operator=(const OutputSender&) = delete;

    // What a port's sends wake when they queue something.
    ThreadWake& Wake() { return wake_; }
    // Main thread: the thread drains `output`, the program's output port
    // `port` (an index of kPortNames), in place of any other of that port.
    void Add(size_t port, PacedOutput& output);
    // Main thread: waits, at most `wait`, until nothing of `output` is
    // queued; then the thread no longer touches it, and what is still queued
    // is dropped and counted.
    void Remove(PacedOutput& output, std::chrono::milliseconds wait);

private:
    void Run();

    ThreadWake wake_;
    std::mutex lock_;  // over the ports while the thread drains them (it never sleeps holding it)
    std::array<PacedOutput*, kPortNames.size() - kInputPortCount> outputs_{};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace cadenzo
