#include <gtest/gtest.h>

#include "bank/window_title.h"

namespace cadenzo {
namespace {

TEST(WindowTitle, NamesTheFileWithItsExtensionOnly) {
    const std::string suffix = "  -  Loaded Blend File:  [ live.cdb ]";
    EXPECT_EQ(LoadedBlendTitle("live.cdb"), std::string(kMainTitle) + suffix);
    EXPECT_EQ(LoadedBlendTitle("/home/player/sets/live.cdb"), std::string(kMainTitle) + suffix);
    EXPECT_EQ(LoadedBlendTitle("sets/a.b.CDB"), std::string(kMainTitle) + "  -  Loaded Blend File:  [ a.b.CDB ]");
}

TEST(WindowTitle, PathWithoutNameOrExtensionLeavesTheTitle) {
    EXPECT_FALSE(LoadedBlendTitle("noext"));
    EXPECT_FALSE(LoadedBlendTitle("dir/.cdb"));
    EXPECT_FALSE(LoadedBlendTitle("dir/"));
    EXPECT_FALSE(LoadedBlendTitle(""));
}

TEST(WindowTitle, VersionIsTheOneTheTitleStates) {
    static_assert(ProgramVersion() == "5.01");
}

}  // namespace
}  // namespace cadenzo
