// Sound end to end: the program's SynthOut into FluidSynth on the private
// JACK server, and FluidSynth's audio into a recorder that tells how loud
// it is. Skipped where FluidSynth or its General MIDI sound font is missing.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "e2e/jack_audio_recorder.h"
#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr const char* kSynthMidiIn = "e2e-synth:midi_00";

class ThroughFluidSynth : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef CADENZO_SANITIZED
        GTEST_SKIP() << "the sound test runs in the build without sanitizers";
#endif
        const auto fluidsynth = test::FindProgram("fluidsynth");
        if (!fluidsynth) GTEST_SKIP() << "FluidSynth is not installed (Debian package fluidsynth)";
        if (!std::filesystem::exists(kSoundFont))
            GTEST_SKIP() << "no sound font at " << kSoundFont << " (Debian package fluid-soundfont-gm)";
        ASSERT_TRUE(player.Ok() && ears.Ok()) << "no JACK server (run under with_jack.sh)";
        // MIDI in and audio out through JACK, nothing connected by itself;
        // no reverb or chorus unless the test listens for them, so that a
        // released note ends in silence.
        const char* reverb = effects ? "1" : "0";
        ASSERT_TRUE(synth.Start({.argv = {fluidsynth->string(), "-a", "jack", "-m", "jack", "-R", reverb, "-C", "0",
                                          "-g", "0.5", "-o", "audio.jack.id=e2e-synth", "-o",
                                          "midi.jack.id=e2e-synth", "-o", "audio.jack.autoconnect=0", "-o",
                                          "midi.autoconnect=0", "-o", "synth.sample-rate=48000", kSoundFont},
                                 .out = logs.Path() / "out",
                                 .err = logs.Path() / "err"}));
        // It reads the whole sound font before it takes part.
        for (const char* port : {kSynthMidiIn, "e2e-synth:left", "e2e-synth:right"})
            ASSERT_TRUE(player.WaitForPort(port, 60s)) << port << ": " << test::ReadText(logs.Path() / "err");
        ASSERT_TRUE(ears.Connect("e2e-synth:left", 0));
        ASSERT_TRUE(ears.Connect("e2e-synth:right", 1));

        program.WriteOptions({.In1 = player.SourceName(0), .SynthOut = kSynthMidiIn});
        program.WriteBank([this](MixBank& bank) {
            Mix& mix = bank.Slots[0];
            mix.Channels[0].In1Channel = 1;  // layer 1: channel 1, a piano at volume 110
            mix.Channels[1].In1Channel = 2;  // layer 2: channel 2, the same piano at volume 0
            mix.Channels[1].Vol = 0;
            if (effects) {  // or at full volume, and all reverb on layer 1
                mix.Channels[0].Rev = 127;
                mix.Channels[1].Vol = 110;
            }
        });
        if (effects) program.WriteText("Cadenzo.settings", "EffectSendsToSynth=1\n");
        program.Start();
        ASSERT_TRUE(player.WaitForPort("Cadenzo:SynthOut")) << program.Errors();
        ASSERT_TRUE(player.WaitSourceConnected(0));
        std::this_thread::sleep_for(300ms);  // let the start-up transmission pass
    }
    void TearDown() override {
        if (program.Running()) program.Stop();
        if (synth.Running()) synth.Stop();
    }

    double Level(std::chrono::milliseconds duration) { return Heard(ears.Level(duration)); }
    static double Heard(std::optional<double> level) {
        if (!level) ADD_FAILURE() << "no sound arrives from FluidSynth";
        return level.value_or(std::nan(""));
    }

    // A note's level `after` it is let go, after it was held, both counted
    // in the sound's own time.
    double TailLevel(uint32_t on, uint32_t off, std::chrono::milliseconds after) {
        player.Send(0, on);
        Level(400ms);
        player.Send(0, off);
        Level(after);
        return Heard(ears.NextLevel(200ms));
    }

    bool effects = false;  // FluidSynth's reverb on, and the program's effect sends to it
    test::TempFolder logs;
    test::ChildProcess synth;
    test::JackTestClient player{"player", {"keys"}, {}};
    test::JackAudioRecorder ears{"ears"};
    test::ProgramRun program;
};

TEST_F(ThroughFluidSynth, ANoteSoundsAndDiesAwayAndALayerAtVolumeZeroStaysSilent) {
    const double before = Level(300ms);

    player.Send(0, 0x643C90);  // middle C on channel 1
    const double held = Level(400ms);
    player.Send(0, 0x003C80);
    // The release fades out: listen in short stretches until the synthesiser
    // has let the voice go (nothing but zeros) or the time is up.
    double released = 0;
    const auto releaseStart = std::chrono::steady_clock::now();
    do released = Level(100ms);
    while (released > test::kDigitalSilenceDb && std::chrono::steady_clock::now() - releaseStart < 5s);
    const std::chrono::duration<double> releaseTime = std::chrono::steady_clock::now() - releaseStart;

    player.Send(0, 0x643C91);  // middle C on channel 2
    const double muted = Level(400ms);
    player.Send(0, 0x003C81);

    std::printf("FluidSynth levels (dB of full scale): before playing %.1f, note held %.1f, %.1f s after the "
                "note-off %.1f, layer at volume 0 %.1f\n",
                before, held, releaseTime.count(), released, muted);
    EXPECT_LT(before, test::kSilenceDb);
    EXPECT_GT(held, -40.0);
    EXPECT_LT(released, test::kSilenceDb);
    EXPECT_LT(muted, test::kSilenceDb);
    // FluidSynth takes volume 0 as 96 dB down rather than off: what is left
    // shows that the note did reach it.
    EXPECT_GT(muted, test::kDigitalSilenceDb);
}

class EffectSendsThroughFluidSynth : public ThroughFluidSynth {
protected:
    EffectSendsThroughFluidSynth() { effects = true; }
};

TEST_F(EffectSendsThroughFluidSynth, ALayersReverbSendLengthensTheTail) {
    const double wet = TailLevel(0x643C90, 0x003C80, 500ms);  // channel 1, Rev 127
    std::this_thread::sleep_for(3s);                           // until the reverb has died away
    const double dry = TailLevel(0x643C91, 0x003C81, 500ms);  // channel 2, Rev 0
    std::printf("FluidSynth level 0.5 s after the note-off (dB of full scale): Rev 127 %.1f, Rev 0 %.1f\n", wet, dry);
    EXPECT_GT(wet, dry + 6.0) << "the reverb send reached FluidSynth";
}

}  // namespace
}  // namespace cadenzo
