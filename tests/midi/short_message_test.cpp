#include <gtest/gtest.h>

#include "midi/short_message.h"

namespace cadenzo {
namespace {

TEST(ShortMessage, PackAndUnpackAreInverse) {
    const ShortMessage m = PackShortMessage(0x90, 5, 60, 100);
    EXPECT_EQ(m, 0x643C95u);
    const UnpackedMessage u = UnpackShortMessage(m | 0x02000000u);  // a tagged queue entry
    EXPECT_EQ(u.command, 0x90);
    EXPECT_EQ(u.channel, 5);
    EXPECT_EQ(u.data1, 60);
    EXPECT_EQ(u.data2, 100);
}

TEST(ShortMessage, PitchBendIsClampedAndSplitIntoSevenBitHalves) {
    EXPECT_EQ(PackPitchBend(3, 8192), 0x4000E3u);
    EXPECT_EQ(PackPitchBend(3, -1), 0x0000E3u);
    EXPECT_EQ(PackPitchBend(3, 20000), 0x7F7FE3u);
    EXPECT_EQ(PackPitchBend(15, 8256), 0x4040EFu);
    EXPECT_EQ(PackPitchBend(0, 16383), 0x7F7FE0u);
}

TEST(ShortMessage, TransposeNoteClampsToTheNoteRange) {
    EXPECT_EQ(TransposeNote(120, 76, 12), 127);
    EXPECT_EQ(TransposeNote(3, 52, -12), 0);
    EXPECT_EQ(TransposeNote(60, 64, 0), 60);
    EXPECT_EQ(TransposeNote(60, 66, -1), 61);
    EXPECT_EQ(TransposeNote(127, 127, 12), 127);
    EXPECT_EQ(TransposeNote(0, 0, -12), 0);
}

}  // namespace
}  // namespace cadenzo
