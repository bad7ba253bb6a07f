#include <gtest/gtest.h>

#include "bank/options_record.h"
#include "ui/grid_selection.h"

namespace cadenzo {
namespace {

TEST(GridSelection, SilencingMessagesForTheChannelLeft) {
    // All notes off, sustain off, modulation off, key pressure 0, pitch bend centre.
    EXPECT_EQ(SilencingMessages(2), (std::array<ShortMessage, 5>{0x007BB2, 0x0040B2, 0x0001B2, 0x0000A2, 0x4000E2}));
    EXPECT_EQ(SilencingMessages(15)[4], 0x4000EFu);
}

TEST(GridSelection, LeavingARowInThruSelectedChannelSilencesTheRowLeft) {
    GridCursor cursor;
    EXPECT_EQ(cursor.Row, 1);
    EXPECT_EQ(MoveGridCursor(cursor, true, kThruSelectedChannel, 4, 3), std::optional<uint8_t>(0));
    EXPECT_EQ(MoveGridCursor(cursor, true, kThruSelectedChannel, 7, 5), std::optional<uint8_t>(2));
    EXPECT_EQ(MoveGridCursor(cursor, true, kThruSelectedChannel, 9, 5), std::nullopt);  // same row
    EXPECT_EQ(cursor.Column, 9);
    EXPECT_EQ(cursor.Row, 5);
}

TEST(GridSelection, OtherModesSendNothingButRememberTheRow) {
    GridCursor cursor;
    EXPECT_EQ(MoveGridCursor(cursor, false, kThruSelectedChannel, 1, 6), std::nullopt);
    EXPECT_EQ(MoveGridCursor(cursor, true, 0, 1, 7), std::nullopt);
    EXPECT_EQ(MoveGridCursor(cursor, true, 2, 1, 8), std::nullopt);
    EXPECT_EQ(cursor.Row, 8);
    // The next move in "Thru Sel Ch" silences the row remembered last.
    EXPECT_EQ(MoveGridCursor(cursor, true, kThruSelectedChannel, 1, 2), std::optional<uint8_t>(7));
}

}  // namespace
}  // namespace cadenzo
