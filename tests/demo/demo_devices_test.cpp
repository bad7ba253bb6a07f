#include <gtest/gtest.h>

#include "demo/demo_devices.h"

namespace cadenzo {
namespace {

const std::vector<std::string> kAlsaInputs = {
    "Midi Through:Midi Through Port-0",
    "Cadenzo:ThruOut",
    "Keystation 49:Keystation 49 MIDI 1",
    "nanoKEY2:nanoKEY2 MIDI 1",
};
const std::vector<std::string> kAlsaOutputs = {
    "Midi Through:Midi Through Port-0",
    "FLUID Synth (4242):Synth input port (4242:0)",
};

TEST(DemoDevices, TheSynthesiserAndTheFirstRealKeyboardAreFoundInAnyCase) {
    const DemoDevices d = ChooseDemoDevices(kAlsaInputs, kAlsaOutputs, "fluid", "");
    EXPECT_EQ(d.synth, "FLUID Synth (4242):Synth input port (4242:0)");
    EXPECT_EQ(d.keyboard, "Keystation 49:Keystation 49 MIDI 1");
    EXPECT_EQ(ChooseDemoDevices(kAlsaInputs, kAlsaOutputs, "fluid", "NANOkey").keyboard,
              "nanoKEY2:nanoKEY2 MIDI 1");
}

TEST(DemoDevices, NothingMatchingLeavesTheNameEmpty) {
    const DemoDevices d = ChooseDemoDevices({"system:midi_capture_1"}, {"system:midi_playback_1"}, "fluid", "oxygen");
    EXPECT_EQ(d.synth, "");
    EXPECT_EQ(d.keyboard, "");
    // Only through ports and the program's own: no keyboard to play.
    EXPECT_EQ(ChooseDemoDevices({kAlsaInputs[0], kAlsaInputs[1]}, kAlsaOutputs, "fluid", "").keyboard, "");
}

TEST(DemoDevices, PortsFileLinesAreSetReplacedOrTakenOutAndOthersKept) {
    const std::string before = "In1=old keys\nThruOut=sound module:in\nSynthOut=old synth\n";
    EXPECT_EQ(UpdatePortsText(before, {{"In1", "new keys"}, {"SynthOut", "fluidsynth:midi_00"}}),
              "ThruOut=sound module:in\nIn1=new keys\nSynthOut=fluidsynth:midi_00\n");
    EXPECT_EQ(UpdatePortsText(before, {{"In1", ""}, {"SynthOut", "fluidsynth:midi_00"}}),
              "ThruOut=sound module:in\nSynthOut=fluidsynth:midi_00\n");
    EXPECT_EQ(UpdatePortsText("", {{"SynthOut", "fluidsynth:midi_00"}}), "SynthOut=fluidsynth:midi_00\n");
}

}  // namespace
}  // namespace cadenzo
