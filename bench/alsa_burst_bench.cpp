// A mix transmission on the ALSA sequencer, in the QEMU guest: a program
// change at In1 to a mix of sixteen layers, sent to a synthesiser client
// that reads as soon as it can with the sequencer's default queue of 200
// events. Prints the messages sent (as a listener of SynthOut with room for
// all of them hears them) beside those the synthesiser heard, and the time
// from the program change to the last message heard; beside it, in the same
// boot, the time one note takes from one client straight to another, and
// the same through the program. Under emulation only the comparison says
// something.
//
//   tests/e2e/with_alsa_vm.sh . build/dev build/dev/bench/alsa_burst_bench [ROUNDS]   (default 10)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bank/mix_bank.h"
#include "e2e/alsa_test_client.h"
#include "e2e/program_run.h"

namespace {

using namespace std::chrono_literals;
using cadenzo::test::AlsaTestClient;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Reads `client` until it holds `count` messages or `limit` passes; when the last of them arrived.
Clock::time_point HeardBy(AlsaTestClient& client, size_t count, Clock::duration limit) {
    const auto giveUp = Clock::now() + limit;
    size_t seen = client.Heard().size();
    Clock::time_point last = Clock::now();
    while (seen < count && Clock::now() < giveUp) {
        std::this_thread::sleep_for(100us);
        if (client.Heard().size() != seen) {
            seen = client.Heard().size();
            last = Clock::now();
        }
    }
    return last;
}

// Reads both until neither heard anything for `quiet`: when `synth` last did.
Clock::time_point BothQuiet(AlsaTestClient& synth, AlsaTestClient& tap, Clock::duration quiet) {
    size_t synthSeen = synth.Heard().size();
    size_t tapSeen = tap.Heard().size();
    Clock::time_point last = Clock::now();
    for (auto since = Clock::now(); Clock::now() - since < quiet;) {
        std::this_thread::sleep_for(100us);
        const size_t synthNow = synth.Heard().size();
        const size_t tapNow = tap.Heard().size();
        if (synthNow == synthSeen && tapNow == tapSeen) continue;
        if (synthNow != synthSeen) last = Clock::now();
        synthSeen = synthNow;
        tapSeen = tapNow;
        since = Clock::now();
    }
    return last;
}

// Note-ons from `keys`, one at a time: how long each took to reach `synth`.
std::vector<double> NoteTimes(AlsaTestClient& keys, AlsaTestClient& synth, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds * 5; ++i) {
        const size_t before = synth.HeardOnceQuiet(50ms);
        const auto sent = Clock::now();
        keys.Send(0x90 | static_cast<uint32_t>(60 + i % 12) << 8 | 100u << 16);
        times.push_back(Ms(HeardBy(synth, before + 1, 2s) - sent));
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    AlsaTestClient synth("Synth", AlsaTestClient::Role::Synth);
    AlsaTestClient tap("Tap", AlsaTestClient::Role::Synth);
    AlsaTestClient keys("Keys", AlsaTestClient::Role::Keyboard);
    AlsaTestClient plainKeys("PlainKeys", AlsaTestClient::Role::Keyboard);
    AlsaTestClient plainSynth("PlainSynth", AlsaTestClient::Role::Synth);
    if (!synth.Ok() || !tap.Ok() || !keys.Ok()) {
        std::fprintf(stderr, "no ALSA sequencer (run in tests/alsa-vm/run-in-alsa-vm)\n");
        return 1;
    }
    tap.MakeRoom(2000);

    cadenzo::test::ProgramRun run;
    // Each layer sends a bank select and four user controllers too, and
    // slots 1 and 2 differ in voice mode, pressure bend and terca mode.
    cadenzo::OptionsRecord options = cadenzo::test::DefaultOptions();
    options.ChangeBlendsWithBanks = 1;
    options.UserCC1 = 71;
    options.UserCC2 = 72;
    options.UserCC3 = 73;
    options.UserCC4 = 74;
    run.WriteOptionsRecord(options);
    run.WriteBank([](cadenzo::MixBank& bank) {
        for (uint32_t slot = 0; slot <= 2; ++slot)
            for (uint32_t c = 0; c < 16; ++c) {
                cadenzo::ChannelRecord& layer = bank.Slots[slot].Channels[c];
                layer.In1Channel = 17;
                layer.PG = static_cast<uint8_t>(slot * 20 + c);
                layer.MD = layer.AT = layer.Trc = slot == 1 ? 1 : 0;
            }
    });
    run.WriteText("Ostinata.ports", "In1=Keys:out\nSynthOut=Synth:in\n");
    run.Start({"--midi", "alsa", "--dir", run.Dir().string()});
    if (!cadenzo::test::WaitUntil([&] { return synth.Joined() && !synth.Heard().empty(); }, 60s) ||
        std::system("aconnect Cadenzo:3 Tap:0") != 0 || std::system("aconnect PlainKeys:0 PlainSynth:0") != 0) {
        std::fprintf(stderr, "the program did not join the synthesiser: %s\n", run.Errors().c_str());
        return 1;
    }

    const std::vector<double> plain = NoteTimes(plainKeys, plainSynth, rounds);
    const std::vector<double> through = NoteTimes(keys, synth, rounds);  // sixteen copies each: the first counts

    std::vector<double> lastHeard;
    size_t sentAll = 0;
    size_t heardAll = 0;
    for (int i = 0; i < rounds; ++i) {
        const size_t synthBefore = synth.HeardOnceQuiet(300ms);
        const size_t tapBefore = tap.HeardOnceQuiet(300ms);
        const auto changed = Clock::now();
        keys.Send(0xC0 | static_cast<uint32_t>(1 + i % 2) << 8);
        const auto last = BothQuiet(synth, tap, 1s);
        const size_t sent = tap.Heard().size() - tapBefore;
        const size_t heard = synth.Heard().size() - synthBefore;
        sentAll += sent;
        heardAll += heard;
        lastHeard.push_back(Ms(last - changed));
        std::printf("program change %d: sent %zu, heard %zu, last heard after %.1f ms\n", i + 1, sent, heard,
                    lastHeard.back());
    }
    std::printf("one note, client to client: median %.2f ms, max %.2f ms\n", Median(plain),
                *std::max_element(plain.begin(), plain.end()));
    std::printf("one note through the program: median %.2f ms, max %.2f ms\n", Median(through),
                *std::max_element(through.begin(), through.end()));
    std::printf("program change through 16 layers: sent %zu, heard %zu (%d rounds), last heard after median %.1f "
                "ms, max %.1f ms; synthesiser overflowed: %s\n",
                sentAll, heardAll, rounds, Median(lastHeard), *std::max_element(lastHeard.begin(), lastHeard.end()),
                synth.Overflowed() ? "yes" : "no");
    return run.StopsCleanly() && sentAll == heardAll && !synth.Overflowed() ? 0 : 1;
}
