#include <gtest/gtest.h>

#include "midi/midi_backend.h"
#include "midi/short_message.h"
#include "midi/short_message_split.h"

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

TEST(ShortMessage, TheMasterVolumeIsGeneralMidisSystemExclusiveOnTheFourteenBitScale) {
    using Bytes = std::array<uint8_t, kMaxMessageBytes>;
    for (auto [volume, low, high] : {std::tuple{0, 0x00, 0x00}, {64, 0x40, 0x40}, {127, 0x7F, 0x7F}, {200, 0x7F, 0x7F}}) {
        Bytes bytes{};
        ASSERT_EQ(MessageBytes(PackMasterVolume(static_cast<uint32_t>(volume)), bytes), 8u) << volume;
        EXPECT_EQ(bytes, (Bytes{0xF0, 0x7F, 0x7F, 0x04, 0x01, static_cast<uint8_t>(low), static_cast<uint8_t>(high), 0xF7}))
            << volume;
    }
    Bytes bytes{};
    EXPECT_EQ(MessageBytes(PackShortMessage(0xC0, 3, 5, 9), bytes), 2u);
    EXPECT_EQ(MessageBytes(0x45, bytes), 0u);
}

TEST(ShortMessage, TransposeNoteClampsToTheNoteRange) {
    EXPECT_EQ(TransposeNote(120, 76, 12), 127);
    EXPECT_EQ(TransposeNote(3, 52, -12), 0);
    EXPECT_EQ(TransposeNote(60, 64, 0), 60);
    EXPECT_EQ(TransposeNote(60, 66, -1), 61);
    EXPECT_EQ(TransposeNote(127, 127, 12), 127);
    EXPECT_EQ(TransposeNote(0, 0, -12), 0);
}

std::vector<ShortMessage> Split(const std::vector<uint8_t>& bytes) {
    std::vector<ShortMessage> out;
    SplitShortMessages(bytes.data(), bytes.size(), [&](ShortMessage m) { out.push_back(m); });
    return out;
}

TEST(ShortMessageSplit, AnEventIsTakenApartIntoItsWholeMessages) {
    using Bytes = std::vector<uint8_t>;
    using Messages = std::vector<ShortMessage>;
    const struct {
        Bytes bytes;
        Messages expected;
    } rows[] = {
        {{0x90, 0x3C, 0x64}, {0x643C90}},
        {{0xB0, 0x07, 0x64, 0xB0, 0x27, 0x10}, {0x6407B0, 0x1027B0}},  // a 14-bit controller
        {{0xB3, 0x63, 0x01, 0xB3, 0x62, 0x02, 0xB3, 0x06, 0x40, 0xB3, 0x26, 0x00},
         {0x0163B3, 0x0262B3, 0x4006B3, 0x0026B3}},                     // an NRPN
        {{0xB0, 0x65, 0x00, 0x64, 0x00, 0x06, 0x0C}, {0x0065B0, 0x0064B0, 0x0C06B0}},  // running status
        {{0xC5, 0x05, 0xD5, 0x40}, {0x05C5, 0x40D5}},                   // one data byte each
        {{0x90, 0x3C, 0xF8, 0x64}, {0xF8, 0x643C90}},                   // a clock inside a message
        {{0x90, 0x3C, 0x64, 0xF8, 0x3E, 0x64}, {0x643C90, 0xF8, 0x643E90}},  // and between running notes
        {{0x90, 0x3C, 0x64, 0xB0, 0x07}, {0x643C90}},                   // a cut-off tail is dropped
        {{0x90, 0x3C, 0xB0, 0x07, 0x10}, {0x1007B0}},                   // so is a message cut by a status
        {{0x3C, 0x64, 0x90, 0x3C, 0x64}, {0x643C90}},                   // data before any status
        {{0xF0, 0x7E, 0x7F, 0xF7, 0x90, 0x3C, 0x64}, {0x643C90}},       // system exclusive skipped
        {{0xF0, 0x7E, 0x7F}, {}},                                       // an open one too
        {{0x90, 0x3C, 0x64, 0xF0, 0x01, 0xF7, 0x3E, 0x64}, {0x643C90}}, // it ends running status
        {{0x90, 0x3C, 0x64, 0xF1, 0x20, 0x3E, 0x64}, {0x643C90, 0x20F1}},  // so does a quarter frame
        {{0xF2, 0x10, 0x20, 0x30}, {0x2010F2}},                         // song position ends running status
        {{0xF6, 0xF7, 0xFE}, {0xF6, 0xFE}},                             // a stray end of exclusive
        {{}, {}},
    };
    for (const auto& row : rows) EXPECT_EQ(Split(row.bytes), row.expected) << ::testing::PrintToString(row.bytes);
}

}  // namespace
}  // namespace cadenzo
