// The cost of transmitting a mix whose sixteen layers are all active, and of
// one glide tick while sixteen slides run. The outputs only count.
#include <benchmark/benchmark.h>

#include "bench_rig.h"
#include "engine/glide.h"
#include "engine/transmission.h"

namespace cadenzo {
namespace {

void BM_TransmitMixSixteenLayers(benchmark::State& state) {
    bench::BenchRig rig;
    SystemState& s = *rig.s;
    TransmitMix(s);  // the shadow now matches: later transmissions cut nothing
    const uint64_t before = rig.midi.SentCount(0) + rig.midi.SentCount(1);
    for (auto _ : state) TransmitMix(s);
    state.counters["messages"] =
        static_cast<double>(rig.midi.SentCount(0) + rig.midi.SentCount(1) - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TransmitMixSixteenLayers)->Unit(benchmark::kMicrosecond);

// Slides from the bottom to the top of the bend range one unit a tick, so
// they keep running for 14336 ticks before they are started again.
void StartLongSlides(SystemState& s) {
    for (ChannelPerformance& p : s.Performance.Channels) p.Glide.store(GlideSet{1024, 15360, 1, 1});
}

void BM_GlideTickSixteenSlides(benchmark::State& state) {
    bench::BenchRig rig;
    SystemState& s = *rig.s;
    StartLongSlides(s);
    int ticks = 0;
    for (auto _ : state) {
        GlideTick(&s);
        if (++ticks == 14000) {
            ticks = 0;
            StartLongSlides(s);
        }
    }
    state.counters["bends"] = static_cast<double>(rig.midi.SentCount(0)) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GlideTickSixteenSlides)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cadenzo

BENCHMARK_MAIN();
