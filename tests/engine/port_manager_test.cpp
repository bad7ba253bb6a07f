#include <gtest/gtest.h>

#include "app/device_listing.h"
#include "engine/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "support/recorders.h"

namespace cadenzo {
namespace {

using test::ShownBox;

class PortManager : public ::testing::Test {
protected:
    void SetUp() override {
        s.Io.dialogs = &dialogs;
        s.Io.midi = &midi;
        EnumerateMidiDevices(s);
    }
    void TearDown() override { CloseAllPorts(s); }

    uint32_t OpenNumber(int port) const { return s.Ports.OpenPortNumbers()[static_cast<size_t>(port)]; }

    VirtualMidiBackend midi{{"Keys A", "Keys B", "Thru In"}, {"Synth", "Thru", "Control"}};
    test::RecordingDialogs dialogs;
    SystemState s;
};

using Select = void (*)(SystemState&, uint32_t);
const Select kSelect[] = {&SelectIn1Port,      &SelectIn2Port,     &SelectIn3Port,
                                       &SelectSynthOutPort, &SelectThruOutPort, &SelectControlOutPort};

TEST_F(PortManager, DeviceListsStartWithTheNoDeviceEntry) {
    EXPECT_EQ(s.Ports.InputDeviceNames,
              (std::vector<std::string>{"NO Selected IN Device", "Keys A", "Keys B", "Thru In"}));
    EXPECT_EQ(s.Ports.OutputDeviceNames,
              (std::vector<std::string>{"NO Selected OUT Device", "Synth", "Thru", "Control"}));
    EXPECT_EQ(DeviceListing(midi), "MIDI service: none\n"
                                   "Inputs (In1, In2, In3):\n  1  Keys A\n  2  Keys B\n  3  Thru In\n"
                                   "Outputs (SynthOut, ThruOut, ControlOut):\n  1  Synth\n  2  Thru\n  3  Control\n"
                                   "The number is the device's place in the setup dialog's lists. Ostinata.ports "
                                   "names a port's device by name, one line per port: In1=Keys A\n");
    VirtualMidiBackend none{{}, {}};
    s.Io.midi = &none;
    EnumerateMidiDevices(s);
    EXPECT_EQ(s.Ports.InputDeviceNames, std::vector<std::string>{"NO Selected IN Device"});
    EXPECT_NE(DeviceListing(none).find("Inputs (In1, In2, In3):\n  (none)\n"), std::string::npos);
    SelectIn1Port(s, 1);
    EXPECT_EQ(OpenNumber(0), 0u);
    EXPECT_EQ(dialogs.boxes.back().text, "Errorr: The specified device identifier is out of range.");
    FreeDeviceLists(s);
    EXPECT_TRUE(s.Ports.InputDeviceNames.empty());
}

TEST_F(PortManager, OpenFailuresShowTheirTextAndLeaveThePortClosed) {
    const std::pair<uint32_t, const char*> results[] = {
        {2, "Errorr: The specified device identifier is out of range."},
        {4, "Errorr: The specified resource is already allocated."},
        {7, "Errorr: The system is unable to allocate or lock memory."},
        {11, "Errorr: The specified pointer or structure is invalid."},
        {68, "Errorr: No MIDI port was found. This error occurs only when the mapper is opened."},
    };
    for (int port = 0; port < 6; ++port) {
        for (auto [result, text] : results) {
            dialogs.boxes.clear();
            midi.FailNextOpen(static_cast<MidiResult>(result));
            kSelect[port](s, 2);
            EXPECT_EQ(OpenNumber(port), 0u);
            const char* caption = (port == 0 && result != 68) ? "Errorr... in MIDI in 1" : "Errorr...";
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0], (ShownBox{text, caption, MessageIcon::None})) << port << " " << result;
        }
        dialogs.boxes.clear();
        midi.FailNextOpen(static_cast<MidiResult>(3));  // a result without a text: nothing shown
        kSelect[port](s, 2);
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(OpenNumber(port), 0u);
    }
}

TEST_F(PortManager, CloseFailuresShowTheirTextAndKeepThePortOpen) {
    const std::tuple<uint32_t, const char*> results[] = {
        {5, "The specified device handle is invalid."},
        {7, "The system is unable to load mapper string description."},
        {65, "Buffers are still in the queue."},
    };
    for (int port = 0; port < 6; ++port) {
        kSelect[port](s, 1);
        ASSERT_EQ(OpenNumber(port), 1u);
        for (auto [result, text] : results) {
            dialogs.boxes.clear();
            midi.FailNextClose(static_cast<MidiResult>(result));
            kSelect[port](s, 0);
            EXPECT_EQ(OpenNumber(port), 1u);
            const std::string expected = port >= 3 ? std::string("Errorr: ") + text : text;
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0].text, expected);
            EXPECT_EQ(dialogs.boxes[0].caption, port == 0 ? "Errorr... in MIDI in 1" : "Errorr...");
        }
        dialogs.boxes.clear();
        kSelect[port](s, 0);
        EXPECT_EQ(OpenNumber(port), 0u);
        EXPECT_TRUE(dialogs.boxes.empty());
    }
}

TEST_F(PortManager, FailedCloseThenOpenOfAnotherDeviceMovesThePort) {
    SelectSynthOutPort(s, 1);
    midi.FailNextClose(kMidiStillPlaying);
    SelectSynthOutPort(s, 2);
    EXPECT_EQ(OpenNumber(3), 2u);
    EXPECT_EQ(midi.OutputPortName(1), "SynthOut");
}

TEST_F(PortManager, SelectingZeroOnAClosedPortDoesNothing) {
    CloseAllPorts(s);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{}));
}

TEST_F(PortManager, ADeviceInUseOnAnotherPortOpensThereToo) {
    SelectIn2Port(s, 3);
    SelectIn1Port(s, 3);
    EXPECT_EQ(OpenNumber(0), 3u);
    EXPECT_EQ(OpenNumber(1), 3u);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortManager, ReselectingTheSameDeviceReopensIt) {
    SelectIn1Port(s, 1);
    SelectIn1Port(s, 1);
    EXPECT_EQ(OpenNumber(0), 1u);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(midi.Feed(0, 0x403C90));
}

TEST_F(PortManager, OpenAllPortsFollowsTheOptionsAndCloseAllPortsClosesEveryOne) {
    WriteU32(s.Options.In1Device, 1);
    WriteU32(s.Options.In3Device, 3);
    WriteU32(s.Options.SynthOutDevice, 1);
    WriteU32(s.Options.ControlOutDevice, 3);
    OpenAllPorts(s);
    EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{1, 0, 3, 1, 0, 3}));
    EXPECT_EQ(midi.InputPortName(2), "In3");
    EXPECT_EQ(midi.OutputPortName(2), "ControlOut");
    CloseAllPorts(s);
    EXPECT_EQ(s.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{}));
    EXPECT_FALSE(midi.Feed(0, 0x403C90));
}

}  // namespace
}  // namespace cadenzo
