#include <gtest/gtest.h>

#include "midi/alsa_device_name.h"

namespace cadenzo {
namespace {

TEST(AlsaDeviceName, TheAddressThatChangesOnReplugIsLeftOut) {
    EXPECT_EQ(AlsaDeviceName("Keystation 49:Keystation 49 MIDI 1 24:0"), "Keystation 49:Keystation 49 MIDI 1");
    EXPECT_EQ(AlsaDeviceName("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
    EXPECT_EQ(AlsaDeviceName("system:midi_capture_1"), "system:midi_capture_1") << "a JACK name has none";
    EXPECT_EQ(AlsaDeviceName("Synth 1:2x"), "Synth 1:2x");
    EXPECT_EQ(AlsaDeviceName("Synth :3"), "Synth :3");
    EXPECT_EQ(AlsaDeviceName(" 20:0"), " 20:0");
}

}  // namespace
}  // namespace cadenzo
