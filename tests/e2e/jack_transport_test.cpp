// The MIDI transport on a real JACK server through the JACK back end.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "e2e/jack_test_client.h"
#include "engine/input_callbacks.h"
#include "engine/output.h"
#include "engine/port_manager.h"
#include "midi/jack/jack_backend.h"
#include "support/recorders.h"

namespace cadenzo {
namespace {

class JackTransport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)";
        ASSERT_EQ(midi.ServiceName(), "JACK");
        s.Io.dialogs = &dialogs;
        s.Io.midi = &midi;
        EnumerateMidiDevices(s);
    }
    void TearDown() override {
        CloseAllPorts(s);
        EXPECT_TRUE(dialogs.boxes.empty());
    }

    test::JackTestClient peer{"e2e", {"keys", "thru_in"}, {"thru_sink"}};
    JackBackend midi;
    test::RecordingDialogs dialogs;
    SystemState s;
};

TEST_F(JackTransport, DevicesAreListedAndPortsOpenAsNamedClients) {
    EXPECT_NE(test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)), 0u);
    EXPECT_NE(test::DeviceNumber(s.Ports.OutputDeviceNames, peer.SinkName(0)), 0u);
    SelectIn1Port(s, test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)));
    SelectThruOutPort(s, test::DeviceNumber(s.Ports.OutputDeviceNames, peer.SinkName(0)));
    EXPECT_NE(s.Ports.Inputs[0].OpenNumber.load(), 0u);
    EXPECT_NE(s.Ports.ThruOut.OpenNumber(), 0u);
    SelectIn2Port(s, static_cast<uint32_t>(s.Ports.InputDeviceNames.size()));  // past the list
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Errorr: The specified device identifier is out of range.");
    dialogs.boxes.clear();
}

// The program's own ports are never offered as devices: SynthOut chosen as
// an input would feed the program its own output.
TEST_F(JackTransport, TheProgramsOwnPortsAreNoDevices) {
    SelectIn1Port(s, test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)));
    SelectSynthOutPort(s, test::DeviceNumber(s.Ports.OutputDeviceNames, peer.SinkName(0)));
    ASSERT_TRUE(peer.WaitForPort("Cadenzo:SynthOut"));
    EnumerateMidiDevices(s);
    for (const auto* names : {&s.Ports.InputDeviceNames, &s.Ports.OutputDeviceNames})
        for (const std::string& name : *names) EXPECT_NE(name.rfind("Cadenzo:", 0), 0u) << name;
    EXPECT_NE(test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)), 0u);
}

// A keyboard named in the ports file by its alias opens on its port.
TEST_F(JackTransport, AKeyboardNamedByItsAliasOpens) {
    ASSERT_TRUE(peer.SetSourceAlias(0, "alsa_pcm:Stage-Keys/midi_capture_1"));
    EnumerateMidiDevices(s);
    OpenAllPorts(s, {std::string("alsa_pcm:Stage-Keys/midi_capture_1")});
    EXPECT_EQ(s.Ports.Inputs[0].OpenNumber.load(), test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)));
    EXPECT_TRUE(peer.WaitSourceConnected(0));
}

// An opened input plays into its callback only once it is started.
TEST_F(JackTransport, AnOpenedInputPlaysNothingBeforeItIsStarted) {
    std::atomic<int> heard{0};
    const MidiInputCallback count = [](void* context, uint16_t, ShortMessage) {
        static_cast<std::atomic<int>*>(context)->fetch_add(1);
    };
    std::unique_ptr<MidiInputPort> in;
    const uint32_t device = test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0));
    ASSERT_EQ(midi.OpenInput(device - 1, "In1", count, &heard, in), kMidiOk);
    ASSERT_TRUE(peer.WaitSourceConnected(0));
    for (int i = 0; i < 5; ++i) peer.Send(0, 0x643C90);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(heard.load(), 0) << "input before the start";
    ASSERT_EQ(midi.StartInput(*in), kMidiOk);
    peer.Send(0, 0x643C90);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (heard.load() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(heard.load(), 1);
    EXPECT_EQ(midi.CloseInput(in), kMidiOk);
}

TEST_F(JackTransport, ThruInputReachesTheThruOutputUnchanged) {
    SelectIn3Port(s, test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(1)));
    SelectThruOutPort(s, test::DeviceNumber(s.Ports.OutputDeviceNames, peer.SinkName(0)));
    ASSERT_TRUE(peer.WaitSourceConnected(1));
    ASSERT_TRUE(peer.WaitSinkConnected(0));
    const std::vector<uint32_t> played = {0x643C95, 0x003C85, 0x0000FE, 0x7F07B3, 0x0005C9};
    for (uint32_t m : played) peer.Send(1, m);
    EXPECT_EQ(peer.Receive(0, played.size()), played);
    EXPECT_TRUE(s.Input.Queue.Empty());  // nothing of the thru input is queued
}

// The start-up sends a whole mix the moment SynthOut opens: none of it may
// be lost while the new connection is not yet in force. (A loaded machine
// lost every message of one opening in five before the back end waited; an
// idle one loses few, so it opens often.)
TEST_F(JackTransport, WhatIsSentTheMomentAnOutputOpensArrives) {
    const uint32_t sink = test::DeviceNumber(s.Ports.OutputDeviceNames, peer.SinkName(0));
    size_t expected = 0;
    for (int opening = 0; opening < 100; ++opening) {
        SelectSynthOutPort(s, sink);
        for (uint32_t value = 0; value < 10; ++value) SendToSynth(s, 0x0007B0 | value << 16);
        expected += 10;
        ASSERT_EQ(peer.Receive(0, expected).size(), expected) << "opening " << opening;
        SelectSynthOutPort(s, 0);
    }
}

TEST_F(JackTransport, PlayingInputReachesTheQueueTaggedAndInOrder) {
    SelectIn1Port(s, test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)));
    ASSERT_TRUE(peer.WaitSourceConnected(0));
    std::vector<uint32_t> played;
    for (uint32_t i = 0; i < 200; ++i) played.push_back(0x90 | (i % 128) << 8 | (i % 100 + 1) << 16);
    for (uint32_t m : played) peer.Send(0, m);
    std::vector<uint32_t> taken;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (taken.size() < played.size() && std::chrono::steady_clock::now() < deadline) {
        uint32_t entry = 0;
        if (s.Input.Queue.Pop(entry)) taken.push_back(entry);
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(taken.size(), played.size());
    for (size_t i = 0; i < played.size(); ++i) EXPECT_EQ(taken[i], played[i] + kIn1Tag) << i;
}

TEST_F(JackTransport, AnEventOfSeveralMessagesArrivesAsEachOfThem) {
    SelectIn1Port(s, test::DeviceNumber(s.Ports.InputDeviceNames, peer.SourceName(0)));
    ASSERT_TRUE(peer.WaitSourceConnected(0));
    // A 14-bit controller, then a registered parameter with a cut-off tail.
    peer.SendEvent(0, {0xB0, 0x07, 0x64, 0xB0, 0x27, 0x10});
    peer.SendEvent(0, {0xB1, 0x65, 0x00, 0xB1, 0x64, 0x00, 0xB1, 0x06, 0x02, 0xB1, 0x26});
    const std::vector<uint32_t> expected = {0x6407B0, 0x1027B0, 0x0065B1, 0x0064B1, 0x0206B1};
    std::vector<uint32_t> taken;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (taken.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
        uint32_t entry = 0;
        if (s.Input.Queue.Pop(entry)) taken.push_back(entry - kIn1Tag);
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(taken, expected);
}

}  // namespace
}  // namespace cadenzo
