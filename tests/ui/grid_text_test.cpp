#include <gtest/gtest.h>

#include "ui/grid_text.h"

namespace cadenzo {
namespace {

using Row = std::array<std::string, kGridColumns>;

TEST(GridText, CellTextsAreSafeForAnyByte) {
    using F = CellFormat;
    const struct {
        CellFormat format;
        uint8_t value;
        const char* text;
    } cases[] = {
        {F::Channel, 0, "---"},   {F::Channel, 1, "Ch1"},   {F::Channel, 9, "Ch9"},    {F::Channel, 10, "C10"},
        {F::Channel, 16, "C16"},  {F::Channel, 17, "All"},  {F::Pan, 64, "<C>"},       {F::Pan, 65, "1>"},
        {F::Pan, 127, "63>"},     {F::Pan, 63, "<1"},       {F::Pan, 0, "<64"},        {F::Pan, 255, "191>"},
        {F::Transpose, 64, "+0"}, {F::Transpose, 0, "-64"}, {F::Tune, 128, "+0"},      {F::Tune, 0, "-128"},
        {F::Tune, 255, "+127"},   {F::OnOff, 0, "Off"},     {F::OnOff, 1, "On"},       {F::Velocity, 0, "On"},
        {F::Velocity, 100, "100"}, {F::Mode, 0, "PL"},      {F::Mode, 1, "MN"},        {F::Mode, 2, "ML"},
        {F::Mode, 3, "MP"},
        // A mode beyond the four names (from a blend file written elsewhere) shows its number.
        {F::Mode, 4, "4"},        {F::Mode, 255, "255"},    {F::Number, 127, "127"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(CellText(k.format, k.value), k.text) << static_cast<int>(k.format) << " " << int{k.value};
    EXPECT_EQ(ChannelText(12), "C12");
}

class GridRow : public ::testing::Test {
protected:
    void SetUp() override {
        InitBankDefaults(bank);
        LoadMix(bank, 0);
    }
    Row Texts(int c) const { return GridRowTexts(bank, options, c); }

    BankState bank;
    OptionsRecord options{};
};

TEST_F(GridRow, ColumnsFollowTheGridOrderNotTheByteOrder) {
    ChannelRecord& r = bank.WorkingMix.Channels[4];
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&r);
    for (int b = 0; b < kStoredChannelBytes; ++b) bytes[b] = static_cast<uint8_t>(b + 1);  // byte b holds b + 1
    EXPECT_EQ(Texts(4), (Row{"Ch1", "Ch2", "3", "4", "5", "6", "<57", "8", "9", "10", "11", "-52", "-104", "13", "14",
                             "15", "16", "17", "18", "19", "On", "25", "27", "On", "On", "21", "22", "23"}));
}

TEST_F(GridRow, LayerListeningToNoInputShowsDashesUntilAnInputIsSet) {
    Row dashes;
    dashes.fill("---");
    EXPECT_EQ(Texts(0), dashes);
    bank.WorkingMix.Channels[0].In2Channel = 17;
    const Row row = Texts(0);
    EXPECT_EQ(row[0], "---");
    EXPECT_EQ(row[1], "All");
    EXPECT_EQ(row[5], "110");   // Vol
    EXPECT_EQ(row[6], "<C>");   // Pan
    EXPECT_EQ(row[12], "+0");   // Tun
    EXPECT_EQ(row[22], "On");   // Dyn: velocity as played
    EXPECT_EQ(row[25], "110");  // 1:2
}

TEST_F(GridRow, ExternalDrumChannelShowsEDWhateverItsRecordHolds) {
    options.UseDrumMode = 1;
    options.DrumOutChannel = 9;
    bank.WorkingMix.Channels[9].In1Channel = 10;
    bank.WorkingMix.Channels[8].In1Channel = 10;
    Row ed;
    ed.fill("E/D");
    EXPECT_EQ(Texts(9), ed);
    EXPECT_EQ(Texts(8)[0], "C10");
    options.UseDrumMode = 0;
    EXPECT_EQ(Texts(9)[0], "C10");
}

TEST_F(GridRow, GmViewShowsTheInputRolesAndTheGmMixOutputLevels) {
    bank.GmMode = true;
    options.UseDrumMode = 1;  // the GM view wins over the drum channel
    options.DrumOutChannel = 2;
    bank.WorkingMix.Channels[2].In1Channel = 1;
    bank.Bank.Slots[kGmSlot].Channels[2].Out34 = 77;

    const struct {
        uint8_t port, thru;
        const char* in1;
        const char* in2;
    } cases[] = {{0, 0, "GM", "---"}, {0, 1, "GM", "Ch"}, {0, 2, "GM", "Thr"}, {1, 1, "Ch", "GM"},
                 {1, 2, "Thr", "GM"}, {1, 9, "---", "GM"}};
    for (const auto& k : cases) {
        options.GmPort = k.port;
        options.GmThruMode = k.thru;
        Row expected;
        expected[0] = k.in1;
        expected[1] = k.in2;
        expected[25] = "110";
        expected[26] = "77";
        expected[27] = "0";
        EXPECT_EQ(Texts(2), expected) << int{k.port} << " " << int{k.thru};
    }
}

}  // namespace
}  // namespace cadenzo
