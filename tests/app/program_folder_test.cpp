#include <gtest/gtest.h>

#include "app/program_folder.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

TEST(ExpandHome, OnlyALeadingTildeIsTheHomeFolder) {
    EXPECT_EQ(ExpandHome("~", "/home/p"), "/home/p");
    EXPECT_EQ(ExpandHome("~/.local/share/cadenzo", "/home/p"), "/home/p/.local/share/cadenzo");
    EXPECT_EQ(ExpandHome("~other/sets", "/home/p"), "~other/sets");
    EXPECT_EQ(ExpandHome("sets/~/x", "/home/p"), "sets/~/x");
    EXPECT_EQ(ExpandHome("/srv/sets", "/home/p"), "/srv/sets");
}

using ProgramFolder = test::InTempDir;

TEST_F(ProgramFolder, MissingFoldersAreMadeAndEntered) {
    std::string error;
    ASSERT_TRUE(EnterProgramFolder("gig/night one", error)) << error;
    EXPECT_EQ(fs::current_path(), dir_ / "gig" / "night one");
    ASSERT_TRUE(EnterProgramFolder(dir_.string(), error)) << error;  // an existing one is only entered
    EXPECT_EQ(fs::current_path(), dir_);
    EXPECT_TRUE(error.empty());
}

TEST_F(ProgramFolder, AFolderThatCannotBeMadeIsRefusedAndTheCurrentOneKept) {
    WriteBytes("taken", {1});
    std::string error;
    EXPECT_FALSE(EnterProgramFolder("taken/sets", error));
    EXPECT_EQ(error, "Cannot use the folder 'taken/sets': Not a directory.");
    EXPECT_FALSE(EnterProgramFolder("taken", error));
    EXPECT_EQ(fs::current_path(), dir_);
}

}  // namespace
}  // namespace cadenzo
