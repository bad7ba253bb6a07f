// Runs the real glide timer thread for ten seconds with the glide tick on a
// whole program state and prints how regular its period is and how long
// portamento slides last in wall time. A slide is started on the main thread
// the way a note event starts one, and ends at the tick that reaches its
// target.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/thread_timer.h"
#include "bench_rig.h"
#include "engine/glide.h"

namespace cadenzo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRun = std::chrono::seconds(10);
constexpr size_t kMaxTicks = 12000;

struct Probe {
    SystemState* s = nullptr;
    std::vector<Clock::time_point> ticks;  // reserved before the timer starts
    std::atomic<size_t> tickCount{0};
    std::atomic<bool> sliding{false};
    std::atomic<int64_t> slideEndNs{0};
};

int64_t Ns(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void TimedTick(void* user) {
    auto& probe = *static_cast<Probe*>(user);
    const Clock::time_point now = Clock::now();
    const size_t n = probe.tickCount.load(std::memory_order_relaxed);
    if (n < kMaxTicks) {
        probe.ticks[n] = now;
        probe.tickCount.store(n + 1, std::memory_order_release);
    }
    GlideTick(probe.s);
    const GlideSet g = probe.s->Performance.Channels[0].Glide.load(std::memory_order_acquire);
    if (probe.sliding.load(std::memory_order_acquire) && g.GlideCurrent == g.GlideTarget) {
        probe.slideEndNs.store(Ns(Clock::now()), std::memory_order_relaxed);
        probe.sliding.store(false, std::memory_order_release);
    }
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// Starts a slide of `distance` units at 58 a tick on channel 0 the way a
// note event does, and returns its wall time in milliseconds.
double Slide(Probe& probe, int distance) {
    ChannelPerformance& p = probe.s->Performance.Channels[0];
    const auto target = static_cast<int16_t>(kBendCentre + distance);
    const Clock::time_point start = Clock::now();
    UpdateGlide(p, [target](GlideSet) { return GlideSet{kBendCentre, target, 58, 1}; });
    probe.sliding.store(true, std::memory_order_release);
    while (probe.sliding.load(std::memory_order_acquire)) std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return static_cast<double>(probe.slideEndNs.load(std::memory_order_relaxed) - Ns(start)) / 1e6;
}

void Report(const char* what, const std::vector<double>& ms) {
    std::printf("%s: n=%zu min %.3f ms, median %.3f ms, p99 %.3f ms, max %.3f ms\n", what, ms.size(),
                Percentile(ms, 0), Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(ms, 1));
}

int Run() {
    bench::BenchRig rig;
    Probe probe;
    probe.s = rig.s.get();
    probe.ticks.resize(kMaxTicks);

    ThreadTimer timer;
    if (timer.SetEvent(1, 1, &TimedTick, &probe) == 0) {
        std::puts("the timer thread could not be started");
        return 1;
    }
    std::vector<double> slide35;
    std::vector<double> slide36;
    const Clock::time_point end = Clock::now() + kRun;
    while (Clock::now() < end) {
        slide35.push_back(Slide(probe, 35 * 58));
        slide36.push_back(Slide(probe, 2048));  // PortaSpeed 35: 35 steps of 58, then the last 18
    }
    timer.KillEvent(1);

    const size_t n = probe.tickCount.load(std::memory_order_acquire);
    std::vector<double> periods;
    std::vector<double> errors;
    for (size_t k = 1; k < n; ++k) {
        const double ms = static_cast<double>(Ns(probe.ticks[k]) - Ns(probe.ticks[k - 1])) / 1e6;
        periods.push_back(ms);
        errors.push_back(std::abs(ms - 1.0));
    }
    const double span = n > 1 ? static_cast<double>(Ns(probe.ticks[n - 1]) - Ns(probe.ticks[0])) / 1e6 : 0;
    std::printf("ticks: %zu over %.1f ms (%.4f ms each on average)\n", n, span, n > 1 ? span / static_cast<double>(n - 1) : 0);
    Report("period", periods);
    Report("period error", errors);
    Report("35-tick slide (2030 units at 58), note to target", slide35);
    Report("36-tick slide (2048 units at PortaSpeed 35), note to target", slide36);
    return 0;
}

}  // namespace
}  // namespace cadenzo

int main() { return cadenzo::Run(); }
