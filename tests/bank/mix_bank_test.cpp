#include <cstring>

#include <gtest/gtest.h>

#include "bank/mix_bank.h"

namespace cadenzo {
namespace {

const uint8_t* Bytes(const MixBank& b) { return reinterpret_cast<const uint8_t*>(&b); }

TEST(MixBankLayout, FieldsSitAtTheirFileOffsets) {
    static MixBank bank{};
    bank.Slots[5].Channels[3].KH = 0xAB;
    bank.Slots[kGmSlot].BendRange = 0xCD;
    EXPECT_EQ(Bytes(bank)[4857], 0xAB);
    EXPECT_EQ(Bytes(bank)[121563], 0xCD);
}

TEST(MixBankDefaults, EveryLayerOfEverySlotIsInactiveAndNeutral) {
    static BankState s;
    InitBankDefaults(s);
    for (const Mix& m : s.Bank.Slots) {
        for (const ChannelRecord& c : m.Channels) {
            EXPECT_EQ(c.In1Channel, 0);
            EXPECT_EQ(c.In2Channel, 0);
            const uint8_t expected[kStoredChannelBytes] = {0,  0,  0,  0,  0,   110, 64, 0, 127, 0,
                                                           127, 64, 0, 0, 0,   64,  64, 64, 64, 0,
                                                           110, 0, 0, 128, 0, 0,   0,  0};
            EXPECT_EQ(std::memcmp(&c, expected, sizeof expected), 0);
            for (uint8_t b : c.RuntimeBytes) EXPECT_EQ(b, 0);
        }
        for (uint8_t b : m.EQ12) EXPECT_EQ(b, 64);
        for (uint8_t b : m.EQ56) EXPECT_EQ(b, 64);
        for (uint8_t b : m.KeyboardScale) EXPECT_EQ(b, 64);
        EXPECT_EQ(m.PortaSpeed, 35);
        EXPECT_EQ(m.BendRange, 2);
        for (uint8_t b : m.MixReserved) EXPECT_EQ(b, 0);
    }
}

TEST(MixBankCopies, LoadCopiesEverythingButTheRuntimeBytesAndZeroesThemOnBothSides) {
    static BankState s;
    InitBankDefaults(s);
    Mix& slot = s.Bank.Slots[7];
    slot.Channels[2].In1Channel = 17;
    slot.Channels[2].RuntimeBytes.fill(0x55);
    slot.EQ34[9] = 3;
    slot.KeyboardScale[11] = 99;
    slot.PortaSpeed = 250;
    slot.MixReserved[211] = 0x77;
    s.WorkingMix.Channels[4].RuntimeBytes[0] = 9;
    s.MixModified = true;

    LoadMix(s, 7);

    Mix expected = slot;
    EXPECT_EQ(std::memcmp(&s.WorkingMix, &expected, sizeof(Mix)), 0);
    for (int c = 0; c < kChannels; ++c) {
        for (uint8_t b : s.WorkingMix.Channels[c].RuntimeBytes) EXPECT_EQ(b, 0);
        for (uint8_t b : slot.Channels[c].RuntimeBytes) EXPECT_EQ(b, 0);
    }
    EXPECT_EQ(s.CurrentProgram, 7u);
    EXPECT_EQ(s.ProgramCopyTarget, 7);
    EXPECT_FALSE(s.MixModified);
}

TEST(MixBankCopies, StoreThenLoadReproducesTheWorkingMix) {
    static BankState s;
    InitBankDefaults(s);
    uint8_t* w = reinterpret_cast<uint8_t*>(&s.WorkingMix);
    for (size_t i = 0; i < sizeof(Mix); ++i) w[i] = static_cast<uint8_t>(i * 7 + 1);
    for (ChannelRecord& c : s.WorkingMix.Channels) c.RuntimeBytes.fill(0);
    const Mix before = s.WorkingMix;
    s.MixModified = true;

    StoreMix(s, 127);
    EXPECT_EQ(s.CurrentProgram, 127u);
    EXPECT_FALSE(s.MixModified);
    LoadMix(s, 0);
    LoadMix(s, 127);
    EXPECT_EQ(std::memcmp(&s.WorkingMix, &before, sizeof(Mix)), 0);
    EXPECT_EQ(std::memcmp(&s.Bank.Slots[127], &before, sizeof(Mix)), 0);
}

TEST(MixBankCopies, SlotNumbersPastTheBankAreIgnored) {
    static BankState s;
    InitBankDefaults(s);
    s.CurrentProgram = 3;
    LoadMix(s, 129);
    StoreMix(s, 1000);
    EXPECT_EQ(s.CurrentProgram, 3u);
}

}  // namespace
}  // namespace cadenzo
