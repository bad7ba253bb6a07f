#include <gtest/gtest.h>

#include "ui/display_text.h"

namespace cadenzo {
namespace {

TEST(EqBar, GrowsUpOrDownFromTheCentreLine) {
    EXPECT_EQ(EqBarGeometry(64), (BarGeometry{403, 1}));
    EXPECT_EQ(EqBarGeometry(65), (BarGeometry{402, 2}));
    EXPECT_EQ(EqBarGeometry(63), (BarGeometry{403, 2}));
    EXPECT_EQ(EqBarGeometry(127), (BarGeometry{371, 33}));  // rows 371..403
    EXPECT_EQ(EqBarGeometry(0), (BarGeometry{403, 33}));    // rows 403..435
    // A band byte above 127 from a blend file written elsewhere stays inside the panel.
    EXPECT_EQ(EqBarGeometry(255), EqBarGeometry(127));
}

TEST(Gauge, ShowsTheWholePercentageOf127) {
    EXPECT_EQ(GaugeText(64), "50%");
    EXPECT_EQ(GaugeText(127), "100%");
    EXPECT_EQ(GaugeText(126), "99%");
    EXPECT_EQ(GaugeText(1), "0%");
    EXPECT_EQ(GaugeText(0), "0%");
    EXPECT_EQ(GaugeText(200), "100%");
    EXPECT_EQ(BarValue(200), 127);
    EXPECT_EQ(BarValue(64), 64);
}

TEST(DisplayText, LabelTexts) {
    EXPECT_EQ(DetuneText(64), "+0");
    EXPECT_EQ(DetuneText(0), "-64");
    EXPECT_EQ(DetuneText(127), "+63");
    EXPECT_EQ(PortamentoText(35), "35 ms");
    EXPECT_EQ(PitchBendText(2), "2 smt");
    EXPECT_EQ(MasterVolumeText(110), "110");
    EXPECT_EQ(MasterTransposeText(3), "+3");
    EXPECT_EQ(MasterTransposeText(0), "0");
    EXPECT_EQ(MasterTransposeText(-5), "-5");
    EXPECT_EQ(CopyChannelText(0), "Channel 01");
    EXPECT_EQ(CopyChannelText(15), "Channel 16");
}

TEST(DisplayText, ProgramAndItsColourFollowEditsAndGmMode) {
    BankState bank;
    OptionsRecord options{};
    WriteU32(options.ProgramDisplayMode, 3);
    bank.CurrentProgram = 8;
    bank.ProgramCopyTarget = 64;
    EXPECT_EQ(ProgramLabelText(bank, options), "MIX A21");
    EXPECT_EQ(CopyProgramText(bank, options), "MIX B11");
    EXPECT_EQ(ProgramShapeColour(bank), kSilver);
    bank.MixModified = true;
    EXPECT_EQ(ProgramShapeColour(bank), kRed);
    bank.GmMode = true;
    EXPECT_EQ(ProgramLabelText(bank, options), "GM Mode");
    EXPECT_EQ(CopyProgramText(bank, options), "MIX B11");
    EXPECT_EQ(ProgramShapeColour(bank), kAqua);
}

TEST(DisplayText, GmModeShowsTheGmMixAndTheGmEffectLevels) {
    BankState bank;
    OptionsRecord options{};
    EXPECT_EQ(&DisplayedMix(bank), &bank.WorkingMix);
    EXPECT_EQ(&DisplayedEffectLevels(bank, options), &options.EffectLevels);
    bank.GmMode = true;
    EXPECT_EQ(&DisplayedMix(bank), &bank.Bank.Slots[kGmSlot]);
    EXPECT_EQ(&DisplayedEffectLevels(bank, options), &options.GmEffectLevels);
}

}  // namespace
}  // namespace cadenzo
