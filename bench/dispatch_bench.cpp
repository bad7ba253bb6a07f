// Input messages per second through the dispatcher when all sixteen layers
// take every note, so that each input message becomes sixteen synthesiser
// messages. The outputs are virtual devices that count what they receive.
#include <array>

#include <benchmark/benchmark.h>

#include "bench_rig.h"
#include "engine/dispatcher.h"

namespace cadenzo {
namespace {

void BM_DispatchToSixteenLayers(benchmark::State& state) {
    bench::BenchRig rig;
    SystemState* s = rig.s.get();

    constexpr uint32_t kBatch = 512;  // entries queued per wake-up
    std::array<uint32_t, kBatch> entries{};
    for (uint32_t k = 0; k < kBatch; ++k) {
        const uint32_t note = 36 + k / 2 % 48;
        const uint32_t tag = k % 4 < 2 ? 0x01000000u : 0x02000000u;
        entries[k] = tag + PackShortMessage(k % 2 == 0 ? 0x90 : 0x80, k / 8 % 16, note, 100);
    }
    for (auto _ : state) {
        for (uint32_t e : entries) s->Input.Queue.Push(e);
        DispatchPending(*s);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["outputs_per_input"] =
        static_cast<double>(rig.midi.SentCount(0)) / static_cast<double>(state.iterations() * kBatch);
}
BENCHMARK(BM_DispatchToSixteenLayers);

}  // namespace
}  // namespace cadenzo

BENCHMARK_MAIN();
