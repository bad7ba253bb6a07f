// Devices unplugged and plugged in again, and the MIDI service going away
// and coming back, on virtual devices: what the player hears and what the
// ports do.
#include <gtest/gtest.h>

#include "engine/messages.h"
#include "engine/sounding_notes.h"
#include "engine/transmission.h"
#include "support/engine_rig.h"
#include "ui/monitor.h"

namespace cadenzo {
namespace {

using namespace test;

class DeviceFollow : public ::testing::Test {
protected:
    void SetUp() override {
        Listen(rig.s.Bank.WorkingMix.Channels[0], 17);              // layer 1: every channel of In1
        Listen(rig.s.Bank.WorkingMix.Channels[3], 1).Trs = 76;      // layer 4: channel 1, an octave up
        ToggleMonitor(rig.s);
    }
    uint32_t Open(PortId port) const { return rig.s.Ports.OpenNumber(port); }
    std::vector<std::string> MonitorLines() {
        return TakeMonitorLines(rig.s, rig.s.Options.MonitorVoiceOnly != 0);
    }

    EngineRig rig;
};

TEST_F(DeviceFollow, AnUnpluggedKeyboardLetsGoOfWhatItHeldOnEveryLayerItReached) {
    rig.Play(1, On(0, 60, 100));
    rig.Play(1, On(0, 64, 100));
    rig.Play(1, Off(0, 64));
    rig.Play(1, On(0, 62, 100));
    rig.Play(1, On(0, 62, 0));    // let go by a note-on of velocity 0
    rig.Play(1, Cc(0, 64, 64));   // sustain held: 64 is down
    rig.Play(1, On(1, 40, 90));   // channel 2: layer 1 only
    SoundingNotes synth;
    synth.Apply(rig.Synth());
    rig.ClearSent();

    rig.midi.UnplugInput(0);
    EXPECT_TRUE(rig.FollowDevices()) << "the back end signals the change";
    EXPECT_EQ(rig.Synth(), (Messages{Off(0, 60), Off(3, 72), Cc(0, 64, 0), Cc(3, 64, 0), Off(0, 40)}));
    synth.Apply(rig.Synth());
    EXPECT_TRUE(synth.Held().empty());
    EXPECT_EQ(Open(PortId::In1), 0u);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[0], "Keys 1") << "the port waits for its keyboard";
    EXPECT_EQ(MonitorLines(), std::vector<std::string>{"Device lost: In1"});
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST_F(DeviceFollow, TheKeyboardPlaysAgainOnceItIsBack) {
    rig.midi.UnplugInput(0);
    rig.FollowDevices();
    rig.Play(1, On(0, 60, 100));
    EXPECT_TRUE(rig.Synth().empty());

    rig.midi.PlugInput(0);
    EXPECT_TRUE(rig.FollowDevices());
    EXPECT_EQ(Open(PortId::In1), 1u);
    EXPECT_TRUE(rig.Synth().empty()) << "an input coming back sends nothing";
    rig.Play(1, On(0, 60, 100));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 60, 100), On(3, 72, 100)}));
    EXPECT_EQ(MonitorLines(), (std::vector<std::string>{"Device lost: In1", "Device back: In1"}));
}

TEST_F(DeviceFollow, ARenamedKeyboardIsFollowedUnderItsNewName) {
    rig.midi.RenameInput(0, "Keys One");
    rig.FollowDevices();
    EXPECT_EQ(rig.s.Ports.RememberedDevices[0], "Keys One") << "the name saved is the new one";
    rig.Play(1, On(0, 60, 100));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 60, 100), On(3, 72, 100)}));
}

TEST_F(DeviceFollow, AKeyboardUnpluggedAndBackBeforeTheProgramLooksIsLostAndBackAllTheSame) {
    rig.Play(1, On(0, 60, 100));
    rig.ClearSent();
    rig.midi.UnplugInput(0);
    rig.midi.PlugInput(0);
    rig.FollowDevices();
    EXPECT_EQ(rig.Synth(), (Messages{Off(0, 60), Off(3, 72)}));
    EXPECT_EQ(Open(PortId::In1), 0u);
    rig.FollowDevices();  // the next look
    EXPECT_EQ(Open(PortId::In1), 1u);
    rig.ClearSent();
    rig.Play(1, On(0, 62, 100));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 62, 100), On(3, 74, 100)}));
}

// Until its port closes, a lost keyboard's callback may still run: what it
// held is let go at the look that closes the port, not before.
TEST_F(DeviceFollow, ALostKeyboardWhosePortWillNotCloseLetsGoOnceItCloses) {
    rig.Play(1, On(0, 60, 100));
    rig.ClearSent();
    rig.midi.FailNextClose(kMidiStillPlaying);
    rig.midi.UnplugInput(0);
    rig.FollowDevices();
    EXPECT_TRUE(rig.Synth().empty());
    EXPECT_EQ(Open(PortId::In1), 1u) << "still open on the lost device";
    rig.FollowDevices();  // the next look closes it
    EXPECT_EQ(rig.Synth(), (Messages{Off(0, 60), Off(3, 72)}));
    EXPECT_EQ(Open(PortId::In1), 0u);
}

TEST_F(DeviceFollow, ALostThruKeyboardLetsGoOnTheThruOutput) {
    rig.midi.Feed(2, On(5, 50, 90));
    rig.midi.Feed(2, Cc(5, 66, 127));  // sostenuto held
    rig.midi.Feed(2, Cc(5, 67, 127));  // and the soft pedal
    rig.ClearSent();
    rig.midi.UnplugInput(2);
    rig.FollowDevices();
    EXPECT_EQ(rig.Thru(), (Messages{Off(5, 50), Cc(5, 66, 0), Cc(5, 67, 0)}));
    EXPECT_TRUE(rig.Synth().empty());
}

// A returning output gets its own part of what start-up sent, and the other
// one nothing: a DSP plugged in again mid-song cuts no held chord.
TEST_F(DeviceFollow, AReturningOutputGetsItsOwnPartOfTheStartUpSet) {
    struct Case {
        uint32_t device;
        PortId port;
        const char* name;
    };
    for (const Case& c : {Case{0, PortId::SynthOut, "SynthOut"}, Case{2, PortId::ControlOut, "ControlOut"}}) {
        rig.ClearSent();
        SendStartUpSet(rig.s);  // as start-up sends it
        const Messages synthAtStart = rig.Synth();
        const Messages controlAtStart = rig.Control();
        rig.midi.UnplugOutput(c.device);
        rig.Play(1, On(0, 60, 100));  // to a dead port, before the program looks
        rig.FollowDevices();
        rig.Play(1, Off(0, 60));      // to no port at all
        rig.Play(1, On(0, 64, 100));  // held while the device comes back
        rig.ClearSent();

        rig.midi.PlugOutput(c.device);
        rig.FollowDevices();
        EXPECT_NE(Open(c.port), 0u) << c.name;
        EXPECT_EQ(rig.Synth(), c.port == PortId::SynthOut ? synthAtStart : Messages{}) << c.name;
        EXPECT_EQ(rig.Control(), c.port == PortId::ControlOut ? controlAtStart : Messages{}) << c.name;
        EXPECT_EQ(MonitorLines(), (std::vector<std::string>{std::string("Device lost: ") + c.name,
                                                            std::string("Device back: ") + c.name}));
        rig.Play(1, Off(0, 64));
    }
}

TEST_F(DeviceFollow, OnlyTheSynthesiserAndTheDspGetTheStartUpSetAgain) {
    rig.midi.UnplugOutput(2);
    rig.FollowDevices();
    rig.midi.PlugOutput(2);
    rig.FollowDevices();
    EXPECT_FALSE(rig.Control().empty()) << "the DSP control port came back";
    rig.ClearSent();
    rig.midi.UnplugOutput(1);
    rig.FollowDevices();
    rig.midi.PlugOutput(1);
    rig.FollowDevices();
    EXPECT_EQ(Open(PortId::ThruOut), 2u);
    EXPECT_TRUE(rig.Synth().empty());
    EXPECT_TRUE(rig.Control().empty());
    EXPECT_TRUE(rig.Thru().empty());
}

TEST_F(DeviceFollow, OpenPortsKeepTheirDevicesWhenOthersComeAndGo) {
    rig.midi.UnplugInput(0);
    rig.FollowDevices();
    EXPECT_EQ(rig.s.Ports.InputDeviceNames, (std::vector<std::string>{"NO Selected IN Device", "Keys 2", "Thru In"}));
    EXPECT_EQ(rig.s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{0, 1, 2, 1, 2, 3}));
    rig.midi.PlugInput(0);
    rig.FollowDevices();
    EXPECT_EQ(rig.s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{1, 2, 3, 1, 2, 3}));
    rig.ClearSent();
    rig.Play(2, On(0, 60, 100));
    EXPECT_TRUE(rig.Synth().empty()) << "no layer listens to In2, which is still on Keys 2";
    EXPECT_EQ(rig.display.deviceChanges, 2);
    EXPECT_FALSE(rig.FollowDevices()) << "nothing signalled";
    EXPECT_EQ(rig.display.deviceChanges, 2) << "nothing changed";
}

TEST_F(DeviceFollow, TheWholeServiceGoingAwayAndBackReopensEveryPort) {
    rig.Play(1, On(0, 60, 100));
    rig.midi.StopService();
    rig.FollowDevices();
    EXPECT_EQ(rig.s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{}));
    EXPECT_EQ(rig.s.Ports.RememberedDevices,
              (std::array<std::string, 6>{"Keys 1", "Keys 2", "Thru In", "Synth", "Thru Out", "Control"}));
    EXPECT_EQ(MonitorLines().size(), 6u);
    rig.ClearSent();
    // What the synthesiser hears while the keyboard at In1 can already play.
    struct Heard {
        const SystemState& s;
        int withKeyboardOpen = 0;
    } heard{rig.s};
    rig.midi.SetOutputTap(
        0,
        [](void* user, ShortMessage) {
            auto& h = *static_cast<Heard*>(user);
            h.withKeyboardOpen += h.s.Ports.OpenNumber(PortId::In1) != 0;
        },
        &heard);

    rig.midi.StartService();
    rig.FollowDevices();
    EXPECT_EQ(rig.s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{1, 2, 3, 1, 2, 3}));
    EXPECT_FALSE(rig.Synth().empty()) << "the start-up set, once";
    EXPECT_EQ(heard.withKeyboardOpen, 0) << "the synthesiser is set before the keyboard plays again";
    rig.ClearSent();
    rig.Play(1, On(0, 62, 100));
    EXPECT_EQ(rig.Synth(), (Messages{On(0, 62, 100), On(3, 74, 100)}));
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

// The window thread looks at the devices while it holds the engine lock for
// an event; the MIDI service is asked with the lock let go, so playing goes on.
TEST_F(DeviceFollow, TheDeviceLookNeverHoldsTheEngineLockWhileItListsTheDevices) {
    struct Listings {
        const EngineLock& lock;
        int all = 0, locked = 0;
    } listings{rig.s.Engine};
    rig.midi.SetListingTap(
        [](void* user) {
            auto& l = *static_cast<Listings*>(user);
            ++l.all;
            l.locked += l.lock.HeldByThisThread();
        },
        &listings);
    const EngineAccess window(rig.s.Engine);
    rig.midi.UnplugInput(0);
    rig.FollowDevices();
    EXPECT_GT(listings.all, 0);
    EXPECT_EQ(listings.locked, 0);
    EXPECT_TRUE(rig.s.Engine.HeldByThisThread()) << "held again once the lists are read";
}

TEST_F(DeviceFollow, ADeviceThatWillNotOpenIsTriedAgainASecondLater) {
    using namespace std::chrono_literals;
    const std::chrono::steady_clock::time_point t0{100s};
    rig.midi.UnplugInput(0);
    rig.FollowDevices(t0);
    rig.midi.PlugInput(0);
    rig.midi.FailNextOpen(kMidiAllocated);
    rig.FollowDevices(t0);
    EXPECT_EQ(Open(PortId::In1), 0u);
    rig.FollowDevices(t0 + 900ms);  // would open now, but waits its turn
    EXPECT_EQ(Open(PortId::In1), 0u);
    rig.FollowDevices(t0 + 1s);
    EXPECT_EQ(Open(PortId::In1), 1u);
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST_F(DeviceFollow, APlayerChoiceIsRememberedAndAFailedOneForgetsTheDevice) {
    SelectIn1Port(rig.s, 3);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[0], "Thru In") << "shared with In3";
    rig.midi.FailNextOpen(kMidiAllocated);
    SelectIn2Port(rig.s, 1);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[1], "");
    SelectSynthOutPort(rig.s, 0);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[3], "");
    rig.midi.UnplugOutput(0);
    rig.midi.PlugOutput(0);
    rig.FollowDevices();
    EXPECT_EQ(Open(PortId::SynthOut), 0u) << "a port closed by choice waits for nothing";
}

// Start-up with the ports file, on devices listed in another order than
// when the options were saved.
class StartUpByName : public ::testing::Test {
protected:
    void SetUp() override {
        s.Io.dialogs = &dialogs;
        s.Io.display = &display;
        s.Io.midi = &midi;
        ApplyOptionDefaults(s.Options);
        WriteU32(s.Options.In1Device, 1);       // saved when Keys A was listed first
        WriteU32(s.Options.In2Device, 2);
        WriteU32(s.Options.SynthOutDevice, 1);
        midi.UnplugOutput(1);                   // "Late Synth" is not plugged in yet
        EnumerateMidiDevices(s);
    }
    void TearDown() override { CloseAllPorts(s); }

    VirtualMidiBackend midi{{"Keys B", "Keys A", "Thru In"}, {"Synth", "Late Synth"}};
    RecordingDialogs dialogs;
    RecordingDisplay display;
    SystemState s;
};

TEST_F(StartUpByName, NamedDevicesOpenWhereverTheyAreAndNumbersServeOnlyWhereNoNameIs) {
    PortNames names;
    names[0] = "Keys A";
    names[2] = "";
    OpenAllPorts(s, names);
    EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{2, 2, 0, 1, 0, 0}))
        << "In2's number 2 is Keys A, open on In1 as well";
    EXPECT_EQ(midi.InputPortName(1), "In1");
    EXPECT_EQ(s.Ports.RememberedDevices, (std::array<std::string, 6>{"Keys A", "Keys A", "", "Synth", "", ""}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

// One device chosen for two outputs and for two inputs opens on both, at
// start and when it comes back.
TEST_F(StartUpByName, OneDeviceChosenForTwoPortsOpensOnBoth) {
    PortNames names;
    names[0] = names[1] = "Keys A";
    names[2] = "Thru In";
    names[3] = names[4] = "Synth";
    OpenAllPorts(s, names);
    ReleaseDispatch(s.Input);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{2, 2, 3, 1, 1, 0})) << round;
        midi.ClearSent();
        midi.Feed(2, 0x403C90);
        EXPECT_EQ(midi.Sent(0), std::vector<ShortMessage>{0x403C90}) << "In3's thru note reaches the shared device";
        // The device goes and comes back.
        midi.UnplugOutput(0);
        midi.UnplugInput(1);
        FollowDeviceChanges(s, {});
        midi.PlugOutput(0);
        midi.PlugInput(1);
        FollowDeviceChanges(s, {});
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(StartUpByName, AMissingDeviceIsWaitedForNeverReplacedByItsNumber) {
    PortNames names;
    names[3] = "Late Synth";
    names[1] = "Keys A";
    OpenAllPorts(s, names);
    EXPECT_EQ(s.Ports.SynthOut.OpenNumber(), 0u) << "number 1 is another synthesiser";
    EXPECT_TRUE(midi.OutputPortName(0).empty());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(s.Ports.OpenPortNumbers()[1], 2u);

    midi.PlugOutput(1);
    midi.DeviceChanges().Acknowledge();
    FollowDeviceChanges(s, {});
    EXPECT_EQ(s.Ports.SynthOut.OpenNumber(), 2u);
    EXPECT_FALSE(midi.Sent(1).empty()) << "the late synthesiser gets the start-up set";
    EXPECT_EQ(display.masterTransposes.size(), 1u);
}

TEST_F(StartUpByName, DevicesOfOneNameAreToldApartByTheirOrder) {
    VirtualMidiBackend twins{{"USB Keys", "USB Keys"}, {}};
    s.Io.midi = &twins;
    EnumerateMidiDevices(s);
    PortNames names;
    names[0] = names[1] = "USB Keys";
    OpenAllPorts(s, names);
    EXPECT_EQ(twins.InputPortName(0), "In1");
    EXPECT_EQ(twins.InputPortName(1), "In2");
    twins.UnplugInput(0);
    twins.PlugInput(0);
    FollowDeviceChanges(s, {});
    FollowDeviceChanges(s, {});
    EXPECT_EQ(twins.InputPortName(0), "In1");
    EXPECT_EQ(twins.InputPortName(1), "In2");

    // One unplugged while the program looks: its port waits for it, never
    // joining the other twin, and takes it again when it is back.
    twins.UnplugInput(0);
    FollowDeviceChanges(s, {});
    FollowDeviceChanges(s, {});
    EXPECT_EQ(s.Ports.OpenPortNumbers()[0], 0u) << "In1 stays off In2's keyboard";
    twins.PlugInput(0);
    FollowDeviceChanges(s, {});
    EXPECT_EQ(twins.InputPortName(0), "In1");
    EXPECT_EQ(twins.InputPortName(1), "In2");
    EXPECT_EQ(s.Ports.RememberedOrders, (PortOrders{1, 2, 0, 0, 0, 0})) << "what the ports file keeps";

    // The orders of a ports file tell twins apart at the start.
    CloseAllPorts(s);
    OpenAllPorts(s, names, {2, 1, 0, 0, 0, 0});
    EXPECT_EQ(twins.InputPortName(0), "In2");
    EXPECT_EQ(twins.InputPortName(1), "In1");
    CloseAllPorts(s);
}

// A name that matches nothing (a kernel renamed the ports) falls back to
// the same client's port of the number the ports file keeps, and the port
// follows it under its new name; a name that matches is never replaced.
TEST_F(StartUpByName, ANameThatMatchesNothingFallsBackToItsClientsPortNumber) {
    VirtualMidiBackend renamed{{"Keys:Port 0", "Keys:Port 1", "Pads:Pads"}, {}};
    s.Io.midi = &renamed;
    EnumerateMidiDevices(s);
    ToggleMonitor(s);
    PortNames names;
    names[0] = "Keys:Keys MIDI 2";
    names[1] = "Pads:Old name";
    names[2] = "Keys:Port 0";
    PortClientPorts numbers{};
    numbers[0] = 1;
    numbers[1] = 5;  // no such port
    numbers[2] = 1;
    OpenAllPorts(s, names, {}, numbers);
    EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{2, 0, 1, 0, 0, 0}));
    EXPECT_EQ(s.Ports.RememberedDevices[0], "Keys:Port 1") << "what the ports file keeps from now on";
    EXPECT_EQ(s.Ports.RememberedDevices[1], "Pads:Old name") << "waited for";
    EXPECT_EQ(TakeMonitorLines(s, false),
              std::vector<std::string>{"Device not found by name: In1 opened port 1 of the same client"});
    CloseAllPorts(s);
}

}  // namespace
}  // namespace cadenzo
