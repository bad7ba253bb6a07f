#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "bank/file_io.h"
#include "bank/options_file.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

using test::RecordingDialogs;
using test::RecordingDisplay;
using test::ShownBox;

class OptionsFile : public test::InTempDir {
protected:
    void Load() { LoadOptions(options, gmMode, dialogs, display); }

    OptionsRecord options{};
    std::atomic<bool> gmMode{false};
    RecordingDialogs dialogs;
    RecordingDisplay display;
};

void ExpectDefaults(const OptionsRecord& o) {
    EXPECT_EQ(ReadU32(o.In1Device), 0u);
    EXPECT_EQ(ReadU32(o.ControlOutDevice), 0u);
    EXPECT_EQ(ReadU32(o.ProgramDisplayMode), 0u);
    EXPECT_EQ(o.ProgramSelectPort, 1);
    EXPECT_EQ(o.ProgramSelectChannel, 16);
    EXPECT_EQ(o.DrumInChannel, 9);
    EXPECT_EQ(o.DrumOutChannel, 9);
    EXPECT_EQ(o.DrumReverb, 20);
    EXPECT_EQ(o.DrumOut12, 127);
    EXPECT_EQ(o.GmPort, 1);
    EXPECT_EQ(o.TerciChannel, 16);
    EXPECT_EQ(o.NoteOffDelay, 20);
    EXPECT_EQ(o.MasterVolumePort, 0);
    EXPECT_EQ(o.MasterVolumeChannel, 16);
    EXPECT_EQ(o.MasterVolumeCC, 7);
    EXPECT_EQ(o.TerciPort, 0);
    for (int cc = 0; cc < 128; ++cc)
        EXPECT_EQ(o.CCBlocked[cc], (cc == 1 || cc == 11 || cc == 33 || cc == 64) ? 0 : 1) << cc;
}

TEST_F(OptionsFile, MissingFileIsReportedOnceAndGivesTheDefaults) {
    Load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0], (ShownBox{"Options file not exist!  Initializing With Deffault Values!",
                                          "Errorr!", MessageIcon::None}));
    ExpectDefaults(options);
    EXPECT_EQ(display.drumIntervals, std::vector<uint32_t>{210});
    EXPECT_FALSE(gmMode);
}

TEST_F(OptionsFile, ShortFileKeepsItsBytesWhereNoDefaultOverwritesThem) {
    std::vector<uint8_t> bytes(199, 0x42);
    WriteBytes(kOptionsFile, bytes);
    Load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0], (ShownBox{"Error While Reading Options File !", "Errorr!", MessageIcon::None}));
    ExpectDefaults(options);
    for (uint8_t b : options.EffectLevels) EXPECT_EQ(b, 0x42);
    for (uint8_t b : options.GmEffectLevels) EXPECT_EQ(b, 0x42);
    EXPECT_EQ(options.GmMidiThru, 0x42);
    EXPECT_EQ(options.Unused65, 0x42);
    EXPECT_EQ(options.TerciPort, 0);  // byte 199 was never in the file
}

TEST_F(OptionsFile, FullFileIsTakenAsItStandsAndLongerFilesAreCut) {
    std::vector<uint8_t> bytes(260);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    bytes[52] = 0;   // GmStartMode
    bytes[64] = 49;  // NoteOffDelay
    WriteBytes(kOptionsFile, bytes);
    gmMode = true;
    Load();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(std::memcmp(&options, bytes.data(), sizeof options), 0);
    EXPECT_EQ(display.drumIntervals, std::vector<uint32_t>{500});
    EXPECT_FALSE(gmMode);
}

TEST_F(OptionsFile, GmStartModeSetsGmModeOnlyForZeroAndOne) {
    std::vector<uint8_t> bytes(200, 0);
    for (auto [start, initial, expected] : {std::tuple{1, false, true}, {2, false, false}, {2, true, true}}) {
        bytes[52] = static_cast<uint8_t>(start);
        WriteBytes(kOptionsFile, bytes);
        gmMode = initial;
        Load();
        EXPECT_EQ(gmMode.load(), expected) << start;
    }
    EXPECT_EQ(display.drumIntervals.back(), 10u);  // NoteOffDelay 0
}

TEST_F(OptionsFile, FileThatExistsButCannotBeOpenedRaises) {
    std::filesystem::create_directory(kOptionsFile);
    try {
        Load();
        FAIL() << "no error raised";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file Ostinata.opt");
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(OptionsFile, SaveStoresThePortsReallyOpenAndRoundTrips) {
    ApplyOptionDefaults(options);
    WriteU32(options.In1Device, 3);  // selected, but it failed to open
    options.EffectLevels[4] = 77;
    SaveOptions(options, {0, 2, 0, 0x01020304, 0, 1}, dialogs);
    EXPECT_TRUE(dialogs.boxes.empty());
    auto bytes = ReadBytes(kOptionsFile);
    ASSERT_EQ(bytes.size(), 200u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 24),
              (std::vector<uint8_t>{0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1, 0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(bytes[42], 77);

    OptionsRecord loaded{};
    LoadOptions(loaded, gmMode, dialogs, display);
    EXPECT_EQ(std::memcmp(&loaded, &options, sizeof options), 0);
    EXPECT_EQ(Entries(), std::vector<std::string>{kOptionsFile});
}

TEST_F(OptionsFile, SaveWhereTheFileCannotBeCreatedRaisesAndKeepsTheRecord) {
    std::filesystem::create_directory(kOptionsFile);
    ApplyOptionDefaults(options);
    EXPECT_THROW(SaveOptions(options, {1, 0, 0, 0, 0, 0}, dialogs), FileError);
    EXPECT_EQ(ReadU32(options.In1Device), 1u);
}

TEST_F(OptionsFile, AWriteProtectedFileIsLeftAlone) {
    WriteBytes(kOptionsFile, std::vector<uint8_t>(sizeof(OptionsRecord), 9));
    std::filesystem::permissions(kOptionsFile, std::filesystem::perms::owner_read);
    ApplyOptionDefaults(options);
    EXPECT_THROW(SaveOptions(options, {1, 0, 0, 0, 0, 0}, dialogs), FileError);
    EXPECT_EQ(ReadBytes(kOptionsFile), std::vector<uint8_t>(sizeof(OptionsRecord), 9));
}

}  // namespace
}  // namespace cadenzo
