// Reading the names and set-list files: what each line gives, and what is
// said of the lines that cannot be used.
#include <gtest/gtest.h>

#include "bank/gig_files.h"

namespace cadenzo {
namespace {

struct Row {
    bool setList;            // else a names file
    std::string text;        // the file
    std::string kept;        // what writing it again gives
    std::string firstProblem;  // "" when every line was good
};

class GigFileLines : public ::testing::TestWithParam<Row> {};

TEST_P(GigFileLines, GiveWhatTheyHoldAndNameTheRest) {
    const Row& row = GetParam();
    MixNames names;
    SetList list;
    const ParseReport report = row.setList ? ParseSetList(row.text, list) : ParseNames(row.text, names);
    EXPECT_EQ(row.setList ? SetListText(list) : NamesText(names), row.kept);
    EXPECT_EQ(report.problems.empty() ? "" : report.problems[0], row.firstProblem);
}

const std::string k40(40, 'y');
const std::string k32(32, 'y');
const std::string kLongUtf8 = [] {  // 40 two-byte characters
    std::string s;
    for (int i = 0; i < 40; ++i) s += "\xC3\xA9";
    return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Rows, GigFileLines,
    ::testing::Values(
        Row{false, "005=Ballad strings\r\nGM=Set-up\r\n\r\n", "005=Ballad strings\nGM=Set-up\n", ""},
        Row{false, "\xEF\xBB\xBF" "7=Organ\n", "007=Organ\n", ""},
        Row{false, "128=Past the end\n3=ok\n", "003=ok\n", "line 1: \"128\" is not a mix number from 0 to 127"},
        Row{false, "-1=x\n", "", "line 1: \"-1\" is not a mix number from 0 to 127"},
        Row{false, "99999999999999999999=x\n", "", "line 1: \"99999999\" is not a mix number from 0 to 127"},
        Row{false, "12 no equals\n", "", "line 1: no \"=\" after the mix number"},
        Row{false, "1=" + k40 + "\n", "001=" + k32 + "\n", "line 1: the text was cut to 32 characters"},
        Row{false, "1=" + kLongUtf8 + "\n", "001=" + kLongUtf8.substr(0, 64) + "\n",
            "line 1: the text was cut to 32 characters"},
        Row{false, "2=\xC3\n2=\xED\xA0\x80\n2=\xC0\xAF\n", "", "line 1: the text is not UTF-8"},
        Row{false, "2=tab\there\n", "", "line 1: the text holds a control character"},
        Row{false, "4=first\n4=second\n4=\n", "", ""},  // the last line counts; empty unnames
        Row{true, "5 Opening song\r\n  9\n\n127\tEncore\n", "5 Opening song\n9\n127 Encore\n", ""},
        Row{true, "5x\n128 Late\n", "", "line 1: \"5x\" is not a mix number from 0 to 127"},
        Row{true, "Intro 5\n", "", "line 1: \"Intro\" is not a mix number from 0 to 127"},
        Row{true, "3 \xFF\n", "3\n", "line 1: the text is not UTF-8"},
        Row{true, "3 " + std::string(70, 't') + "\n", "3 " + std::string(64, 't') + "\n",
            "line 1: the text was cut to 64 characters"}));

TEST(GigFiles, ASetListHoldsItsCapacityAndSaysSoOfTheRest) {
    std::string text;
    for (size_t i = 0; i <= kSetListCapacity; ++i) text += "1\n";
    SetList list;
    const ParseReport report = ParseSetList(text, list);
    EXPECT_EQ(list.Count, kSetListCapacity);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0], "line 257: the set list holds 256 entries at most");
    EXPECT_EQ(NamesFileFor("songs/def.cdb"), "songs/def.names");
    EXPECT_EQ(SetListFileFor("def"), "def.setlist");
}

}  // namespace
}  // namespace cadenzo
