// The MIDI monitor: line texts, the sources, the voice-only filter and the
// hand-off of lines formed on other threads.
#include <cerrno>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "engine/dispatcher.h"
#include "engine/output.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "ui/key_map.h"
#include "ui/monitor.h"
#include "ui/monitor_lines.h"

namespace cadenzo {
namespace {

using Lines = std::vector<std::string>;

TEST(MonitorLines, EachMessageTypeHasItsForm) {
    EXPECT_EQ(ShortMessageLine(0x643C90), "Note ON   Ch:01 060 100");
    EXPECT_EQ(ShortMessageLine(0x003C90), "Note ON** Ch:01 060 000");
    EXPECT_EQ(ShortMessageLine(0x01403C81), "Note OFF Ch:02 060 064") << "the port tag is ignored";
    EXPECT_EQ(ShortMessageLine(0x7F3CA2), "Poly AT  Ch:03 060 127");
    EXPECT_EQ(ShortMessageLine(0x4007B3), "Controll Ch:04 007 064");
    EXPECT_EQ(ShortMessageLine(0x0005CF), "Program  Ch:16 005");
    EXPECT_EQ(ShortMessageLine(0x0030D0), "After TO Ch:01 048 000");
    EXPECT_EQ(ShortMessageLine(0x4000EF), "Pitch B  Ch:16 000 064");
    EXPECT_EQ(ShortMessageLine(0xFE), "SB:0xFE  D1:000  D2:000");
    EXPECT_EQ(ShortMessageLine(0x00017F), "SB:0x7F  D1:001  D2:000") << "a data byte as status";
    EXPECT_EQ(KeyLine(16, 1), "Key: 016,  Flags: 0x01");
    EXPECT_EQ(WindowMessageLine(0x400), "Message num: 01024 - 0x0400");
}

class Monitor : public ::testing::Test {
protected:
    Monitor() { ToggleMonitor(rig.s); }
    Lines Take() { return TakeMonitorLines(rig.s, rig.s.Options.MonitorVoiceOnly != 0); }
    test::EngineRig rig;
};

TEST_F(Monitor, EachSourceShowsItsPointOnly) {
    auto& source = rig.s.Options.MonitorSource;
    const ShortMessage note = 0x643C90;
    source = 1;
    rig.midi.Feed(0, note);
    rig.midi.Feed(1, note);
    EXPECT_EQ(Take(), Lines{"Note ON   Ch:01 060 100"});
    source = 2;
    rig.midi.Feed(1, 0x0005C0);
    EXPECT_EQ(Take(), Lines{"Program  Ch:01 005"});
    source = 4;
    rig.midi.Feed(2, 0x0030D0);
    EXPECT_EQ(Take(), Lines{"After TO Ch:01 048 000"});
    source = 7;  // the thru output sees what In3 forwards
    rig.midi.Feed(2, 0x0030D1);
    EXPECT_EQ(Take(), Lines{"After TO Ch:02 048 000"});

    source = 5;  // every message handed to the synthesiser, with or without a device
    SelectSynthOutPort(rig.s, 0);
    SendToSynth(rig.s, 0x4000E0);
    EXPECT_EQ(Take(), Lines{"Pitch B  Ch:01 000 064"});
    source = 6;
    SendToControl(rig.s, 0x4007B0);
    SendToSynth(rig.s, 0x4000E0);
    EXPECT_EQ(Take(), Lines{"Controll Ch:01 007 064"});

    source = 9;
    NoteProgramMessage(rig.s, 12);
    EXPECT_EQ(Take(), Lines{"Message num: 00012 - 0x000C"});

    for (uint8_t silent : {0, 3}) {
        source = silent;
        rig.midi.Feed(0, note);
        SendToSynth(rig.s, note);
        rig.midi.Feed(2, note);
        EXPECT_EQ(Take(), Lines{}) << int(silent);
    }
}

TEST_F(Monitor, KeyboardSourceShowsShiftPressAndRelease) {
    test::CountingKeyWindow window;
    rig.s.Options.MonitorSource = kMonitorKeyboard;
    KeyDown(rig.s, window, 16);
    KeyUp(rig.s, window, 16);
    KeyDown(rig.s, window, 'Y');  // a key without a command still has its line
    EXPECT_EQ(Take(), (Lines{"Key: 016,  Flags: 0x01", "Key: 016,  Flags: 0x00", "Key: 089,  Flags: 0x00"}));
}

TEST_F(Monitor, VoiceOnlyDropsSystemMessages) {
    rig.s.Options.MonitorSource = kMonitorIn1;
    rig.s.Options.MonitorVoiceOnly = 1;
    rig.midi.Feed(0, 0xFE);
    rig.midi.Feed(0, 0x643C90);
    EXPECT_EQ(Take(), Lines{"Note ON   Ch:01 060 100"});
}

TEST_F(Monitor, AHiddenPaneCollectsNothingAndShowingStartsEmpty) {
    rig.s.Options.MonitorSource = kMonitorSynthOut;
    SendToSynth(rig.s, 0x643C90);
    EXPECT_FALSE(ToggleMonitor(rig.s));
    SendToSynth(rig.s, 0x643C90);
    EXPECT_TRUE(ToggleMonitor(rig.s));
    EXPECT_EQ(Take(), Lines{});
}

TEST_F(Monitor, MessagesAPortCouldNotSendAreCountedForItOnceEachTimeTheCountGrows) {
    rig.midi.LoseNextSends(3);
    for (int k = 0; k < 5; ++k) SendToSynth(rig.s, 0x643C90);
    EXPECT_EQ(rig.Synth().size(), 2u);
    EXPECT_EQ(Take(), Lines{"Output queue full on SynthOut: 3 messages lost"});
    EXPECT_EQ(Take(), Lines{});
    rig.midi.LoseNextSends(2);
    SendToSynth(rig.s, 0x643C90);
    SendToControl(rig.s, 0x000106B0);
    EXPECT_EQ(Take(), (Lines{"Output queue full on SynthOut: 4 messages lost",
                             "Output queue full on ControlOut: 1 messages lost"}));
}

TEST_F(Monitor, MemoryThatCouldNotBeLockedIsSaidOnce) {
    rig.s.Monitor.MemoryLockError = ENOMEM;
    EXPECT_EQ(Take(), Lines{"Memory not locked: Cannot allocate memory"});
    EXPECT_EQ(Take(), Lines{});
}

TEST_F(Monitor, LinesFromOtherThreadsArriveInTheirOrder) {
    rig.s.Options.MonitorSource = kMonitorSynthOut;
    constexpr int kPerThread = 400;  // both threads together stay within the queue
    const auto message = [](int channel, int i) {
        return PackShortMessage(0x90, static_cast<uint32_t>(channel), static_cast<uint32_t>(i % 128),
                                static_cast<uint32_t>(i / 128 + 1));
    };
    auto send = [&](int channel) {
        for (int i = 0; i < kPerThread; ++i) SendToSynth(rig.s, message(channel, i));
    };
    Lines lines;
    {
        std::jthread a(send, 0);
        std::jthread b(send, 1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (lines.size() < 2 * kPerThread && std::chrono::steady_clock::now() < deadline)
            for (std::string& line : Take()) lines.push_back(std::move(line));
    }
    ASSERT_EQ(lines.size(), 2u * kPerThread);
    std::array<int, 2> next{0, 0};
    for (const std::string& line : lines) {
        const int channel = line[14] - '1';
        ASSERT_TRUE(channel == 0 || channel == 1) << line;
        EXPECT_EQ(line, ShortMessageLine(message(channel, next[channel]++)));
    }
}

}  // namespace
}  // namespace cadenzo
