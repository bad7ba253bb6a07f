#include <gtest/gtest.h>

#include "bank/options_file.h"
#include "ui/setup_texts.h"

namespace cadenzo {
namespace {

TEST(SetupTexts, ListItems) {
    EXPECT_EQ(ControllerItem(7), "007 - Main Volume");
    EXPECT_EQ(ControllerItem(0), "000 - Bnak Sel MSB");
    EXPECT_EQ(ControllerItem(119), "119 - Control");
    EXPECT_EQ(ControllerItem(127), "127 - Poly Mode On");
    const auto users = UserControllerItems();
    ASSERT_EQ(users.size(), 129u);
    EXPECT_EQ(users[0], "Unused");
    EXPECT_EQ(users[128], "CC 127");
    const auto delays = NoteOffDelayItems();
    ASSERT_EQ(delays.size(), 50u);
    EXPECT_EQ(delays[0], "  10 ms");
    EXPECT_EQ(delays[49], " 500 ms");
    EXPECT_EQ(ChannelItems(true).back(), "All  Channels");
    EXPECT_EQ(ChannelItems(false).size(), 16u);
}

TEST(SetupTexts, MasterVolumeRuleBlocksItsControllerOnlyWhileAPortIsChosen) {
    OptionsRecord o{};
    ApplyOptionDefaults(o);
    EXPECT_EQ(ApplyMasterVolumeRule(o), std::nullopt);  // port "Disabled"
    o.MasterVolumePort = 3;
    o.MasterVolumeCC = 11;
    EXPECT_EQ(ApplyMasterVolumeRule(o), 11);
    EXPECT_EQ(o.CCBlocked[11], 1);
    o.MasterVolumeCC = 7;
    ApplyMasterVolumeRule(o);
    EXPECT_EQ(o.CCBlocked[11], 1) << "a controller blocked before stays blocked";
    o.MasterVolumeCC = 200;  // a byte from a file written elsewhere
    EXPECT_EQ(ApplyMasterVolumeRule(o), std::nullopt);
}

TEST(SetupTexts, ThruInterlockLetsOnlyOneSourceFeedTheThruOutput) {
    EXPECT_EQ(ThruInterlockFor(false, 0).checkBoxEnabled, true);
    EXPECT_EQ(ThruInterlockFor(false, 0).input3Enabled, true);
    EXPECT_EQ(ThruInterlockFor(true, 0).input3Enabled, false);
    EXPECT_EQ(ThruInterlockFor(true, 0).checkBoxEnabled, true);
    EXPECT_EQ(ThruInterlockFor(false, 2).checkBoxEnabled, false);
    EXPECT_EQ(ThruInterlockFor(false, 2).input3Enabled, true);
    EXPECT_EQ(ItemIndex(49, 50), 49);
    EXPECT_EQ(ItemIndex(50, 50), -1);
}

}  // namespace
}  // namespace cadenzo
