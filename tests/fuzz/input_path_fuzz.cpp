// The playing path: the fuzzer's bytes become a bank, options and a stream of
// MIDI events on In1, In2 and In3, each event taken apart by the event
// splitter as the back ends do and played through the input callbacks and
// the dispatcher. Then every key and pedal the input still holds is let go,
// and what must always hold is checked:
//  - every message sent is a whole short message (checked as it is sent);
//  - nothing allocates while an event is played or a timer ticks;
//  - once the input has let go of everything, no note sounds and no pedal is
//    held on the synthesiser or thru output.
//
// Layout of an input: events from the front, each a header byte (low two
// bits: 0..2 the input device, 3 a tick of the glide and drum timers; the
// other six: the event's length) and then that many bytes. The set-up is
// read from the back, byte by byte, before the first event (see ReadSetUp).
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/allocator_interface.h>

#include "engine/glide.h"
#include "engine/gm_drum_paths.h"
#include "engine/transmission.h"
#include "fuzz/fuzz_rig.h"
#include "midi/short_message_split.h"
#include "ui/monitor.h"

namespace cadenzo::fuzz {
namespace {

// Only the fuzzing thread's allocations count: libFuzzer's own threads
// allocate when they like.
thread_local bool counting = false;
std::atomic<long> allocations{0};

// Every heap allocation of the process passes here (operator new included).
void CountAllocation(const volatile void*, size_t) {
    if (counting) allocations.fetch_add(1, std::memory_order_relaxed);
}
void IgnoreRelease(const volatile void*) {}

constexpr int kFuzzedMixes = 4;  // programs 0..3 come from the fuzzer's bytes

// Layers of every kind, with bytes outside their ranges as a file written
// elsewhere may hold them.
void ReadLayer(FuzzedDataProvider& in, ChannelRecord& layer) {
    layer.In1Channel = in.ConsumeIntegralInRange<uint8_t>(0, 17);
    layer.In2Channel = in.ConsumeIntegralInRange<uint8_t>(0, 17);
    layer.KL = in.ConsumeIntegral<uint8_t>();
    layer.KH = in.ConsumeIntegral<uint8_t>();
    layer.VL = in.ConsumeIntegral<uint8_t>();
    layer.VH = in.ConsumeIntegral<uint8_t>();
    layer.Trs = in.ConsumeIntegral<uint8_t>();
    layer.MD = in.ConsumeIntegral<uint8_t>();
    layer.Scl = in.ConsumeIntegral<uint8_t>();
    layer.Trc = in.ConsumeIntegral<uint8_t>();
    layer.Dyn = in.ConsumeIntegral<uint8_t>();
    layer.AT = in.ConsumeIntegral<uint8_t>();
}

void ReadSetUp(FuzzedDataProvider& in, SystemState& s) {
    OptionsRecord& o = s.Options;
    o.UseDrumMode = in.ConsumeBool();
    o.DrumInPort = in.ConsumeIntegralInRange<uint8_t>(0, 1);
    o.DrumInChannel = in.ConsumeIntegralInRange<uint8_t>(0, 15);
    o.DrumOutChannel = in.ConsumeIntegralInRange<uint8_t>(0, 16);
    o.DrumAutoNoteOff = in.ConsumeBool();
    o.GmPort = in.ConsumeIntegralInRange<uint8_t>(0, 1);
    o.GmThruMode = in.ConsumeIntegralInRange<uint8_t>(0, 2);
    o.GmAutoNoteOff = in.ConsumeBool();
    o.GmMidiThru = in.ConsumeBool();
    o.ProgramSelectPort = in.ConsumeIntegralInRange<uint8_t>(0, 3);
    o.ProgramSelectChannel = in.ConsumeIntegralInRange<uint8_t>(0, 16);
    o.MasterVolumePort = in.ConsumeIntegralInRange<uint8_t>(0, 3);
    o.MasterVolumeCC = in.ConsumeIntegral<uint8_t>();
    o.CCBlocked[in.ConsumeIntegralInRange<uint8_t>(0, 127)] = 0;
    o.MonitorSource = in.ConsumeIntegralInRange<uint8_t>(0, 9);
    s.Bank.GmMode = in.ConsumeBool();
    s.Grid.Row = in.ConsumeIntegralInRange<uint8_t>(0, 17);
    s.Terca.TercRoot = in.ConsumeIntegralInRange<uint8_t>(0, 11);
    s.Terca.TercScaleType = in.ConsumeIntegralInRange<uint8_t>(0, 3);
    s.Performance.MasterTranspose = in.ConsumeIntegralInRange<int32_t>(-24, 24);
    for (int m = 0; m < kFuzzedMixes; ++m) {
        Mix& mix = s.Bank.Bank.Slots[m];
        mix.BendRange = in.ConsumeIntegral<uint8_t>();
        mix.PortaSpeed = in.ConsumeIntegral<uint8_t>();
        for (int n = in.ConsumeIntegralInRange<int>(0, kChannels); n > 0; --n)
            ReadLayer(in, mix.Channels[in.ConsumeIntegralInRange<int>(0, kChannels - 1)]);
    }
}

// What the input devices hold down, as the bytes they sent say: presses per
// key (a key struck twice wants two releases) and pedals.
class InputHolds {
public:
    void Track(uint32_t input, ShortMessage m) {
        const UnpackedMessage u = UnpackShortMessage(m);
        uint8_t& presses = keys_[input][u.channel][u.data1 & 0x7F];
        if (u.command == 0x90 && u.data2 > 0 && presses < 255) ++presses;
        if ((u.command == 0x80 || (u.command == 0x90 && u.data2 == 0)) && presses > 0) --presses;
        if (u.command != 0xB0) return;
        for (size_t p = 0; p < kHeldPedals.size(); ++p)
            if (u.data1 == kHeldPedals[p]) pedals_[input][u.channel][p] = u.data2 >= 64;
    }

    // Plays a release for each press and pedal still held.
    void ReleaseAll(FuzzRig& rig) {
        for (uint32_t input = 0; input < 3; ++input) {
            for (uint32_t c = 0; c < 16; ++c) {
                for (uint32_t n = 0; n < 128; ++n)
                    for (; keys_[input][c][n] > 0; --keys_[input][c][n]) rig.Play(input, PackShortMessage(0x80, c, n, 0));
                for (size_t p = 0; p < kHeldPedals.size(); ++p)
                    if (pedals_[input][c][p]) rig.Play(input, PackShortMessage(0xB0, c, kHeldPedals[p], 0));
            }
        }
    }

private:
    std::array<std::array<std::array<uint8_t, 128>, 16>, 3> keys_{};
    std::array<std::array<std::array<bool, kHeldPedals.size()>, 16>, 3> pedals_{};
};

void Tick(FuzzRig& rig) {
    GlideTick(&rig.s);
    DrumOffTimerTimer(rig.s);
}

// The work in `play` allocates nothing.
template <class Play>
void WithoutAllocation(Play play) {
    const long before = allocations.load(std::memory_order_relaxed);
    counting = true;
    play();
    counting = false;
    Require(allocations.load(std::memory_order_relaxed) == before, "the playing path allocated");
}

}  // namespace
}  // namespace cadenzo::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using namespace cadenzo::fuzz;
    Require(__sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreRelease) != 0,
            "cannot watch the allocations");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    FuzzedDataProvider in(data, size);
    FuzzRig rig;
    ReadSetUp(in, rig.s);
    ToggleMonitor(rig.s);  // the monitor pane shows and watches what the options name
    LoadMix(rig.s.Bank, 0);
    SendStartUpSet(rig.s);
    InputHolds holds;
    while (in.remaining_bytes() > 0) {
        const uint8_t header = in.ConsumeBytes<uint8_t>(1).at(0);
        const uint32_t input = header & 3;
        const std::vector<uint8_t> event = in.ConsumeBytes<uint8_t>(header >> 2);
        WithoutAllocation([&] {
            if (input == 3) {
                Tick(rig);
                return;
            }
            SplitShortMessages(event.data(), event.size(), [&](ShortMessage m) {
                holds.Track(input, m);
                rig.Play(input, m);
            });
        });
    }
    WithoutAllocation([&] {
        holds.ReleaseAll(rig);
        Tick(rig);  // drum note-offs queued by the releases fall due
        Tick(rig);  // and go out
    });
    const bool synthSilent = rig.watches[kSynthOut].Silent("SynthOut");
    const bool thruSilent = rig.watches[kThruOut].Silent("ThruOut");
    Require(synthSilent && thruSilent, "something sounds after the input let go of every key and pedal");
    return 0;
}
