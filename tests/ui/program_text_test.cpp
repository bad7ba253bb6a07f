#include <gtest/gtest.h>

#include "ui/program_text.h"

namespace cadenzo {
namespace {

TEST(ProgramText, FourNumberingStyles) {
    struct Row {
        uint8_t p;
        const char* mode0;
        const char* mode1;
        const char* mode2;
        const char* mode3;
    };
    const Row rows[] = {
        {0, "MIX 000", "MIX 001", "Sngl I A-1", "MIX A11"},   {1, "MIX 001", "MIX 002", "Sngl I A-2", "MIX A12"},
        {7, "MIX 007", "MIX 008", "Sngl I A-8", "MIX A18"},   {8, "MIX 008", "MIX 009", "Sngl I B-1", "MIX A21"},
        {31, "MIX 031", "MIX 032", "Sngl I D-8", "MIX A48"},  {32, "MIX 032", "MIX 033", "Sngl i A-1", "MIX A51"},
        {63, "MIX 063", "MIX 064", "Sngl i D-8", "MIX A88"},  {64, "MIX 064", "MIX 065", "Mlt I A-1", "MIX B11"},
        {95, "MIX 095", "MIX 096", "Mlt I D-8", "MIX B48"},   {96, "MIX 096", "MIX 097", "Mlt I A-1", "MIX B51"},
        {127, "MIX 127", "MIX 128", "Mlt I D-8", "MIX B88"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ProgramText(r.p, 0), r.mode0);
        EXPECT_EQ(ProgramText(r.p, 1), r.mode1);
        EXPECT_EQ(ProgramText(r.p, 2), r.mode2);
        EXPECT_EQ(ProgramText(r.p, 3), r.mode3);
    }
}

TEST(ProgramText, UnknownModesShowAsPlainNumbers) {
    EXPECT_EQ(ProgramText(5, 4), "MIX 005");
    EXPECT_EQ(ProgramText(127, 0xFFFFFFFF), "MIX 127");
}

TEST(ProgramText, BankLetterStyleNeverShowsZeroOrNine) {
    for (int p = 0; p < 128; ++p) {
        const std::string t = ProgramText(static_cast<uint8_t>(p), 3);
        EXPECT_EQ(t.find_first_of("09"), std::string::npos) << t;
    }
}

}  // namespace
}  // namespace cadenzo
