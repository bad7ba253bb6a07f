#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "bank/window_title.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

using test::RecordingDialogs;
using test::RecordingDisplay;
using test::ShownBox;

constexpr size_t kImage = sizeof(MixBank);

class BlendFile : public test::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        InitBankDefaults(state);
        state.Bank.Slots[3].Channels[1].In1Channel = 5;  // something to lose
        std::memcpy(&before, &state.Bank, kImage);
    }
    bool BankUnchanged() const { return std::memcmp(&before, &state.Bank, kImage) == 0; }
    void Load(const std::string& path) { LoadBlendFile(state, name, path, dialogs, display); }

    // An image whose every byte is set, so that no fix-up applies.
    static std::vector<uint8_t> Pattern(size_t size) {
        std::vector<uint8_t> v(size);
        for (size_t i = 0; i < size; ++i) v[i] = static_cast<uint8_t>(i % 251 + 1);
        return v;
    }

    BankState state;
    MixBank before{};
    std::string name = "previous.cdb";
    RecordingDialogs dialogs;
    RecordingDisplay display;
};

TEST_F(BlendFile, MissingFileIsReportedAndChangesNothing) {
    Load("nothere.cdb");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0],
              (ShownBox{"Blends file \"nothere.cdb\" not exist!\nInitializing All Blends With Deffault Values!",
                        "Errorr!", MessageIcon::None}));
    EXPECT_TRUE(BankUnchanged());
    EXPECT_EQ(name, "previous.cdb");
    EXPECT_TRUE(display.titles.empty());
}

TEST_F(BlendFile, ShortFileIsRejectedAndTheBankStaysByteForByte) {
    for (size_t size : {size_t{0}, size_t{1}, kImage - 1}) {
        WriteBytes("short.cdb", Pattern(size));
        dialogs.boxes.clear();
        Load("short.cdb");
        ASSERT_EQ(dialogs.boxes.size(), 1u) << size;
        EXPECT_EQ(dialogs.boxes[0], (ShownBox{"Error Loading Blend File ! - Bad size or format!", "Bad Read",
                                              MessageIcon::None}));
        EXPECT_TRUE(BankUnchanged()) << size;
        EXPECT_EQ(name, "previous.cdb");
    }
    EXPECT_TRUE(display.titles.empty());
}

TEST_F(BlendFile, AllZeroFileLoadsWithEveryFixUp) {
    WriteBytes("zero.cdb", std::vector<uint8_t>(kImage, 0));
    Load("zero.cdb");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(name, "zero.cdb");
    for (const Mix& m : state.Bank.Slots) {
        EXPECT_EQ(m.PortaSpeed, 30);
        EXPECT_EQ(m.BendRange, 2);
        for (uint8_t b : m.KeyboardScale) EXPECT_EQ(b, 64);
        for (uint8_t b : m.EQ12) EXPECT_EQ(b, 64);
        for (uint8_t b : m.EQ34) EXPECT_EQ(b, 64);
        for (uint8_t b : m.EQ56) EXPECT_EQ(b, 64);
        for (const ChannelRecord& c : m.Channels) {
            EXPECT_EQ(c.In1Channel, 0);
            EXPECT_EQ(c.In2Channel, 0);
        }
    }
}

TEST_F(BlendFile, FixUpsTouchOnlyFieldsThatAreWhollyZero) {
    static MixBank bank{};
    std::memset(&bank, 1, kImage);
    Mix& m = bank.Slots[10];
    m.EQ34.fill(0);
    m.KeyboardScale.fill(0);
    m.KeyboardScale[5] = 1;  // one non-zero byte keeps the scale
    m.EQ56.fill(0);
    m.EQ56[9] = 200;
    ApplyBlendFixups(bank);
    EXPECT_EQ(m.EQ12[0], 1);
    for (uint8_t b : m.EQ34) EXPECT_EQ(b, 64);
    EXPECT_EQ(m.KeyboardScale[0], 0);
    EXPECT_EQ(m.KeyboardScale[5], 1);
    EXPECT_EQ(m.EQ56[0], 0);
    EXPECT_EQ(bank.Slots[9].EQ34[0], 1);
}

TEST_F(BlendFile, LongerFileLoadsAsIfCutAtTheBankSize) {
    auto bytes = Pattern(kImage + 500);
    WriteBytes("long.cdb", bytes);
    Load("long.cdb");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(std::memcmp(&state.Bank, bytes.data(), kImage), 0);
}

TEST_F(BlendFile, AcceptedFileNamesTheWindowTitle) {
    std::filesystem::create_directory("sub");
    WriteBytes("sub/live.cdb", Pattern(kImage));
    Load("sub/live.cdb");
    ASSERT_EQ(display.titles.size(), 1u);
    EXPECT_EQ(display.titles[0], std::string(kMainTitle) + "  -  Loaded Blend File:  [ live.cdb ]");
    EXPECT_EQ(name, "sub/live.cdb");

    WriteBytes("noext", Pattern(kImage));
    Load("noext");
    EXPECT_EQ(display.titles.size(), 1u);  // the title stays, the file still loads
    EXPECT_EQ(name, "noext");
}

TEST_F(BlendFile, FileThatExistsButCannotBeOpenedRaisesAndChangesNothing) {
    std::filesystem::create_directory("folder.cdb");
    try {
        Load("folder.cdb");
        FAIL() << "no error raised";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file folder.cdb");
    }
    EXPECT_TRUE(BankUnchanged());
    EXPECT_EQ(name, "previous.cdb");
}

TEST_F(BlendFile, SaveThenLoadReproducesTheBank) {
    SaveBlendFile(state, "out.cdb", dialogs);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadBytes("out.cdb").size(), kImage);
    static BankState other;
    std::string otherName;
    LoadBlendFile(other, otherName, "out.cdb", dialogs, display);
    EXPECT_EQ(std::memcmp(&other.Bank, &before, kImage), 0);
    EXPECT_EQ(name, "previous.cdb");  // a save does not change the name
}

TEST_F(BlendFile, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    WriteBytes("def.cdb", Pattern(kImage + 10));
    using std::filesystem::perms;
    std::filesystem::permissions("def.cdb", perms::owner_read | perms::owner_write);  // a private file
    SaveBlendFile(state, "def.cdb", dialogs);
    auto bytes = ReadBytes("def.cdb");
    ASSERT_EQ(bytes.size(), kImage);
    EXPECT_EQ(std::memcmp(bytes.data(), &before, kImage), 0);
    EXPECT_EQ(std::filesystem::status("def.cdb").permissions(), perms::owner_read | perms::owner_write);
    EXPECT_EQ(Entries(), std::vector<std::string>{"def.cdb"});
}

TEST_F(BlendFile, SaveWhereNoFileCanBeCreatedRaises) {
    for (const std::string path : {"", "missing/dir/x.cdb", "."}) {
        try {
            SaveBlendFile(state, path, dialogs);
            FAIL() << "no error raised for '" << path << "'";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
        }
    }
    EXPECT_TRUE(Entries().empty());
}

TEST_F(BlendFile, AWriteProtectedFileIsLeftAloneAndTheSaveRaises) {
    const std::vector<uint8_t> kept = Pattern(kImage);
    WriteBytes("live.cdb", kept);
    std::filesystem::permissions("live.cdb", std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    try {
        SaveBlendFile(state, "live.cdb", dialogs);
        FAIL() << "a write-protected file was replaced";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file live.cdb");
    }
    EXPECT_EQ(ReadBytes("live.cdb"), kept);
    EXPECT_EQ(Entries(), std::vector<std::string>{"live.cdb"});
}

TEST_F(BlendFile, ASaveThroughASymbolicLinkWritesItsTargetAndKeepsTheLink) {
    std::filesystem::create_directory("sets");
    WriteBytes("sets/live.cdb", {1, 2, 3});
    std::filesystem::create_symlink("sets/live.cdb", "def.cdb");
    std::filesystem::create_symlink("live.cdb", "sets/def.cdb");  // relative to its own folder
    std::filesystem::create_symlink("nowhere.cdb", "dangling.cdb");
    std::filesystem::create_symlink("b.cdb", "a.cdb");  // a loop: refused, both links kept
    std::filesystem::create_symlink("a.cdb", "b.cdb");
    SaveBlendFile(state, "def.cdb", dialogs);
    SaveBlendFile(state, "dangling.cdb", dialogs);
    SaveBlendFile(state, "sets/def.cdb", dialogs);
    EXPECT_THROW(
        try { SaveBlendFile(state, "a.cdb", dialogs); } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "Cannot create file a.cdb");
            throw;
        },
        FileError);
    for (const char* link : {"def.cdb", "sets/def.cdb", "dangling.cdb", "a.cdb", "b.cdb"})
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << link;
    EXPECT_EQ(std::filesystem::file_size("sets/live.cdb"), kImage);
    EXPECT_EQ(std::filesystem::file_size("nowhere.cdb"), kImage);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.cdb", "b.cdb", "dangling.cdb", "def.cdb", "nowhere.cdb", "sets"}));
}

TEST_F(BlendFile, ShutdownSaveGoesToTheDefaultFileOnlyWhenNoneIsThere) {
    EXPECT_EQ(BlendFileForShutdown("live.cdb"), "live.cdb");
    EXPECT_EQ(BlendFileForShutdown(""), "def.cdb");
    WriteBytes("def.cdb", {1, 2, 3});  // a rejected default file is kept
    EXPECT_EQ(BlendFileForShutdown(""), "");
}

}  // namespace
}  // namespace cadenzo
