// Input messages per second through the dispatcher when all sixteen layers
// take every note, so that each input message becomes sixteen synthesiser
// messages. The outputs are virtual devices that count what they receive.
#include <array>
#include <memory>

#include <benchmark/benchmark.h>

#include "bank/options_file.h"
#include "engine/dispatcher.h"
#include "midi/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "ui/dialogs.h"

namespace cadenzo {
namespace {

class SilentDialogs final : public Dialogs {
public:
    void MessageBox(const std::string&, const std::string&, MessageIcon) override {}
};

void BM_DispatchToSixteenLayers(benchmark::State& state) {
    VirtualMidiBackend midi({"Keys 1", "Keys 2"}, {"Synth"});
    SilentDialogs dialogs;
    auto s = std::make_unique<SystemState>();
    s->Io.dialogs = &dialogs;
    s->Io.midi = &midi;
    InitBankDefaults(s->Bank);
    ApplyOptionDefaults(s->Options);
    EnumerateMidiDevices(*s);
    SelectSynthOutPort(*s, 1);
    LoadMix(s->Bank, 0);
    for (ChannelRecord& layer : s->Bank.WorkingMix.Channels) layer.In1Channel = layer.In2Channel = 17;
    midi.SetRecording(false);

    constexpr uint32_t kBatch = 512;  // entries queued per wake-up
    std::array<uint32_t, kBatch> entries{};
    for (uint32_t k = 0; k < kBatch; ++k) {
        const uint32_t note = 36 + k / 2 % 48;
        const uint32_t tag = k % 4 < 2 ? 0x01000000u : 0x02000000u;
        entries[k] = tag + PackShortMessage(k % 2 == 0 ? 0x90 : 0x80, k / 8 % 16, note, 100);
    }
    for (auto _ : state) {
        for (uint32_t e : entries) s->Input.Queue.Push(e);
        DispatchInput(*s, kHandOffMessage);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["outputs_per_input"] =
        static_cast<double>(midi.SentCount(0)) / static_cast<double>(state.iterations() * kBatch);
    CloseAllPorts(*s);
}
BENCHMARK(BM_DispatchToSixteenLayers);

}  // namespace
}  // namespace cadenzo

BENCHMARK_MAIN();
