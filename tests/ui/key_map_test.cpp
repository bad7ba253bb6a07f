// The key map over a whole program state: what each key changes, and when
// it transmits, refreshes and marks the mix modified.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "bank/blend_file.h"
#include "engine/transmission.h"
#include "services/redraw_mask.h"
#include "support/engine_rig.h"
#include "support/key_window.h"
#include "support/temp_dir.h"
#include "ui/gig.h"
#include "ui/grid_keys.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"

namespace cadenzo {
namespace {

class KeyMap : public test::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        // Channel 1 plays In1 channel 1, so the grid keys work on it.
        rig.s.Bank.WorkingMix.Channels[0].In1Channel = 1;
    }

    // Presses a key with Shift and/or Ctrl held (bit 0 Shift, bit 1 Ctrl).
    void Press(uint16_t key, uint32_t modifiers = 0) {
        if (modifiers & kShiftHeld) KeyDown(rig.s, window, vk::Shift);
        if (modifiers & kCtrlHeld) KeyDown(rig.s, window, vk::Control);
        KeyDown(rig.s, window, key);
        KeyUp(rig.s, window, key);
        if (modifiers & kShiftHeld) KeyUp(rig.s, window, vk::Shift);
        if (modifiers & kCtrlHeld) KeyUp(rig.s, window, vk::Control);
    }
    // Presses the key and returns the refresh masks it caused (empty: no transmission).
    std::vector<uint32_t> Refreshes(uint16_t key, uint32_t modifiers = 0) {
        rig.display.refreshes.clear();
        Press(key, modifiers);
        return rig.display.refreshes;
    }
    void SelectCell(uint8_t column, uint8_t row) { rig.s.Grid = {column, row}; }
    static std::string FileText(const char* path) {
        const std::vector<uint8_t> bytes = ReadBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
    Mix& Working() { return rig.s.Bank.WorkingMix; }
    Mix& Gm() { return rig.s.Bank.Bank.Slots[kGmSlot]; }

    test::EngineRig rig;
    // How many channels the synthesiser was told to silence (all sounds off).
    size_t SilencedChannels() const {
        size_t n = 0;
        for (ShortMessage m : rig.Synth()) n += (m & 0xFFF0) == 0x78B0;
        return n;
    }
    // How often the synthesiser received m.
    long SentToSynth(ShortMessage m) const {
        const auto sent = rig.Synth();
        return std::count(sent.begin(), sent.end(), m);
    }
    test::CountingKeyWindow window;
    const std::vector<uint32_t> none{};
};

constexpr uint32_t kShiftCtrl = kShiftHeld | kCtrlHeld;

TEST_F(KeyMap, TheTopRowsStepEqualiserBandsWithAModifierAndEffectLevelsWithout) {
    Press('1', kShiftHeld);
    EXPECT_EQ(Working().EQ12[0], 65);
    EXPECT_EQ(rig.s.Options.EffectLevels[0], 0);
    EXPECT_EQ(Refreshes('Q', kCtrlHeld), std::vector<uint32_t>{RedrawEq34});
    EXPECT_EQ(Working().EQ34[0], 63);
    Press('0', kShiftCtrl);
    EXPECT_EQ(Working().EQ56[9], 65);
    EXPECT_TRUE(rig.s.Bank.MixModified);

    rig.s.Bank.MixModified = false;
    EXPECT_EQ(Refreshes('1'), std::vector<uint32_t>{RedrawEffects});
    EXPECT_EQ(rig.s.Options.EffectLevels[0], 1);
    EXPECT_EQ(Refreshes('T'), none) << "Ch->Rev is already 0";
    EXPECT_FALSE(rig.s.Bank.MixModified) << "effect levels are not part of the mix";

    for (uint16_t key : {'6', '7', '8', '9', 'Y', 'U', 'I', 'O'}) EXPECT_EQ(Refreshes(key), none) << key;
}

TEST_F(KeyMap, ProgramKeysStopAtTheEndsWithoutTransmitting) {
    rig.s.Bank.CurrentProgram = 127;
    EXPECT_EQ(Refreshes('0'), none);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 127u);
    rig.s.Bank.CurrentProgram = 0;
    EXPECT_EQ(Refreshes('P'), none);
    EXPECT_EQ(Refreshes('0'), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 1u);
    EXPECT_EQ(rig.s.Bank.ProgramCopyTarget, 1);
}

TEST_F(KeyMap, InsertAndDeleteKeepEachColumnsRange) {
    SelectCell(1, 1);  // "In1": up to 17
    for (int i = 0; i < 20; ++i) Press(vk::Insert);
    EXPECT_EQ(Working().Channels[0].In1Channel, 17);
    SelectCell(13, 1);  // "Tun": byte 23, up to 255
    Working().Channels[0].Tun = 254;
    EXPECT_EQ(Refreshes(vk::Insert), std::vector<uint32_t>{1u});
    EXPECT_EQ(Refreshes(vk::Insert), none);
    EXPECT_EQ(Working().Channels[0].Tun, 255);
    SelectCell(22, 1);  // "MD": up to 3
    for (int i = 0; i < 5; ++i) Press(vk::Insert);
    EXPECT_EQ(Working().Channels[0].MD, 3);
    SelectCell(21, 1);  // "AT" switch: a second press changes nothing
    EXPECT_EQ(Refreshes(vk::Insert).size(), 1u);
    EXPECT_EQ(Refreshes(vk::Insert), none);
    EXPECT_EQ(Working().Channels[0].AT, 1);
    SelectCell(12, 1);  // "Trs" down to 0 and no further
    Working().Channels[0].Trs = 0;
    EXPECT_EQ(Refreshes(vk::Delete), none);

    SelectCell(5, 2);  // channel 2 listens to nothing: only In1/In2 react
    EXPECT_EQ(Refreshes(vk::Insert), none);
    SelectCell(2, 3);  // "In2" of another unassigned channel reacts as well
    EXPECT_EQ(Refreshes(vk::Insert), std::vector<uint32_t>{4u});
    EXPECT_EQ(Working().Channels[2].In2Channel, 1);
    SelectCell(1, 2);
    EXPECT_EQ(Refreshes(vk::Insert), std::vector<uint32_t>{2u});

    rig.s.Options.UseDrumMode = 1;  // the "E/D" row (channel 10) is locked
    Working().Channels[9].In1Channel = 10;
    SelectCell(6, 10);
    EXPECT_EQ(Refreshes(vk::Insert), none);
}

// PgUp/PgDn step by ten (an octave on KL, KH and Trs), Home/End jump to the
// range's ends: each leaves the same byte and sends the same transmission as
// the Insert or Delete presses that reach the same value.
TEST_F(KeyMap, PageAndEndKeysActAsTheirInsertOrDeletePresses) {
    struct Row {
        uint8_t column, start;
        uint16_t key;
        uint8_t expected;
    };
    for (const Row& row : {Row{8, 60, vk::Prior, 72}, Row{9, 60, vk::Next, 48}, Row{12, 64, vk::Prior, 76},
                           Row{5, 0, vk::Prior, 10}, Row{6, 120, vk::Prior, 127}, Row{6, 3, vk::Next, 0},
                           Row{1, 1, vk::End, 17}, Row{13, 9, vk::End, 255}, Row{22, 2, vk::Home, 0},
                           Row{21, 0, vk::Prior, 1}, Row{24, 1, vk::Home, 0}}) {
        test::EngineRig viaKey, viaSteps;
        for (test::EngineRig* r : {&viaKey, &viaSteps}) {
            r->s.Bank.WorkingMix.Channels[0].In1Channel = 1;
            r->s.Grid = {row.column, 1};
            SetGridCell(r->s, {row.column, 1}, row.start);
            TransmitMix(r->s);  // the synthesiser has the start values
            r->ClearSent();
        }
        KeyDown(viaKey.s, window, row.key);
        EXPECT_EQ(viaKey.display.refreshes, std::vector<uint32_t>{1u}) << int{row.column};
        const uint16_t step = row.expected > row.start ? vk::Insert : vk::Delete;
        for (int i = std::abs(row.expected - row.start); i > 1; --i) KeyDown(viaSteps.s, window, step);
        viaSteps.ClearSent();
        KeyDown(viaSteps.s, window, step);
        EXPECT_EQ(viaKey.Synth(), viaSteps.Synth()) << int{row.column};
        const auto& channel = viaKey.s.Bank.WorkingMix.Channels[0];
        EXPECT_EQ(std::memcmp(&channel, &viaSteps.s.Bank.WorkingMix.Channels[0], sizeof channel), 0) << int{row.column};
        if (row.key == vk::Home || row.key == vk::End) {
            viaKey.display.refreshes.clear();
            KeyDown(viaKey.s, window, row.key);
            EXPECT_EQ(viaKey.display.refreshes, none) << "already at the end";
        }
    }
}

TEST_F(KeyMap, GmModeRefusesMixKeysAndEditsOnlyTheGmOutputLevels) {
    rig.s.Bank.GmMode = true;
    rig.s.Bank.CurrentProgram = 5;
    rig.s.Options.TerciPort = 1;
    rig.dialogs.openAnswer = rig.dialogs.saveAnswer = "x.cdb";
    for (uint16_t key : {vk::Back, uint16_t('0'), uint16_t('P'), vk::OemGrave, vk::F5, vk::F6, vk::OemBackslash})
        EXPECT_EQ(Refreshes(key), none) << key;
    EXPECT_TRUE(rig.dialogs.fileDialogs.empty());
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 5u);

    SelectCell(6, 1);
    EXPECT_EQ(Refreshes(vk::Insert), none);
    SelectCell(26, 1);
    const uint8_t before = Gm().Channels[0].Out12;
    EXPECT_EQ(Refreshes(vk::Insert), std::vector<uint32_t>{1u});
    EXPECT_EQ(Gm().Channels[0].Out12, before + 1);
    Press('1', kShiftHeld);  // the equaliser keys edit the GM set-up
    EXPECT_EQ(Gm().EQ12[0], 65);
    EXPECT_EQ(Working().EQ12[0], 64);
    EXPECT_FALSE(rig.s.Bank.MixModified);

    rig.ClearSent();
    EXPECT_EQ(Refreshes(vk::F4), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(SilencedChannels(), 16u);
    EXPECT_FALSE(rig.s.Bank.GmMode);
}

TEST_F(KeyMap, BackspaceStoresOrCopiesByModifierOnceAndNothingWithBoth) {
    rig.s.Bank.CurrentProgram = 3;
    Working().Channels[0].PG = 42;
    EXPECT_EQ(Refreshes(vk::Back, kShiftCtrl), none);
    EXPECT_NE(rig.s.Bank.Bank.Slots[3].Channels[0].PG, 42);
    Press(vk::Back);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[3].Channels[0].PG, 42);

    // Each copy is transmitted and redrawn once.
    rig.s.Bank.ProgramCopyTarget = 9;
    rig.ClearSent();
    EXPECT_EQ(Refreshes(vk::Back, kShiftHeld), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(rig.s.Bank.Bank.Slots[9].Channels[0].PG, 42);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 9u);
    EXPECT_EQ(SentToSynth(PackShortMessage(0xC0, 0, 42, 0)), 1);

    SelectCell(1, 1);
    rig.s.Bank.ChannelCopyTarget = 4;
    rig.ClearSent();
    EXPECT_EQ(Refreshes(vk::Back, kCtrlHeld), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(Working().Channels[4].PG, 42);
    EXPECT_EQ(SentToSynth(PackShortMessage(0xC0, 4, 42, 0)), 1);
    EXPECT_TRUE(rig.s.Bank.MixModified) << "the channel copy edits the working mix";
}

// Each store is on disk once its key is done, in the file the exit write
// would choose; one that cannot be written says so and keeps the store.
TEST_F(KeyMap, EveryStoreWritesTheBlendFileAtOnce) {
    const auto storedProgram = [&](uint32_t n) {
        MixBank onDisk{};
        const auto bytes = ReadBytes(kDefaultBlendFile);
        if (bytes.size() != sizeof(MixBank)) return -1;
        std::memcpy(&onDisk, bytes.data(), sizeof(MixBank));
        return int{onDisk.Slots[n].Channels[0].PG};
    };
    rig.s.Bank.CurrentProgram = 3;
    Working().Channels[0].PG = 42;
    Press(vk::Back);
    EXPECT_EQ(storedProgram(3), 42);
    Working().Channels[0].PG = 43;
    rig.s.Bank.ProgramCopyTarget = 9;
    Press(vk::Back, kShiftHeld);
    EXPECT_EQ(storedProgram(9), 43);
    EXPECT_EQ(storedProgram(3), 42);
    EXPECT_EQ(Entries(), std::vector<std::string>{kDefaultBlendFile});

    rig.s.BlendFileName = "gone/live.cdb";
    Press(vk::Back);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Cannot create file gone/live.cdb");
    EXPECT_EQ(rig.s.Bank.Bank.Slots[9].Channels[0].PG, 43);
    Press(vk::Insert);
    EXPECT_EQ(rig.dialogs.boxes.size(), 1u) << "a key that stores nothing writes nothing";
}

// Ctrl+Z steps back through the edits of the working mix, each sent as an
// edit is; the oldest of more than 32 is let go, a load starts anew.
TEST_F(KeyMap, CtrlZUndoesTheLastEditsAndSendsEach) {
    SelectCell(5, 1);  // the first layer's "PG"
    for (int i = 0; i < 34; ++i) Press(vk::Insert);
    Press('1', kShiftHeld);
    ASSERT_EQ(Working().Channels[0].PG, 34);
    rig.ClearSent();
    EXPECT_EQ(Refreshes('Z', kCtrlHeld), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(Working().EQ12[0], 64);
    EXPECT_EQ(Working().Channels[0].PG, 34);
    Press('Z', kCtrlHeld);
    EXPECT_EQ(Working().Channels[0].PG, 33);
    EXPECT_EQ(SentToSynth(PackShortMessage(0xC0, 0, 33, 0)), 1);
    for (int i = 0; i < 40; ++i) Press('Z', kCtrlHeld);
    EXPECT_EQ(Working().Channels[0].PG, 3) << "32 edits back, no further";
    EXPECT_TRUE(rig.s.Bank.MixModified);
    EXPECT_EQ(Refreshes('Z', kCtrlHeld), none);

    Press(vk::Insert);
    Press(vk::Back);  // a store starts a new history
    EXPECT_EQ(Refreshes('Z', kCtrlHeld), none);
    Press(vk::Insert);
    Press('Z', kCtrlHeld);
    EXPECT_EQ(Working().Channels[0].PG, 4);
    EXPECT_FALSE(rig.s.Bank.MixModified) << "back to the stored mix";
    EXPECT_EQ(Working().KeyboardScale[0], 64) << "Ctrl+Z is no scale key";
}

TEST_F(KeyMap, RangesNeverWrap) {
    for (int i = 0; i < 15; ++i) Press(vk::OemPeriod, kCtrlHeld);
    EXPECT_EQ(Working().BendRange, 12);
    for (int i = 0; i < 15; ++i) Press(vk::OemComma, kCtrlHeld);
    EXPECT_EQ(Working().BendRange, 1);
    Working().PortaSpeed = 249;
    Press(vk::OemPeriod, kShiftHeld);
    EXPECT_EQ(Refreshes(vk::OemPeriod, kShiftHeld), none);
    EXPECT_EQ(Working().PortaSpeed, 250);
    EXPECT_EQ(Refreshes(vk::OemPeriod), none) << "no modifier: nothing";

    for (int i = 0; i < 14; ++i) Press(vk::F8);
    EXPECT_EQ(rig.s.Performance.MasterTranspose, 12);
    Press(vk::F9);
    EXPECT_EQ(rig.s.Performance.MasterTranspose, 0);
    uint8_t& masterVolume = rig.s.Transmission.MasterVolume;
    masterVolume = 0;
    Press('K');
    Press(vk::Subtract);
    EXPECT_EQ(masterVolume, 0);
    masterVolume = 126;
    Press(vk::Add);
    Press('L');
    EXPECT_EQ(masterVolume, 127);

    for (int i = 0; i < 20; ++i) Press(vk::OemPlus);
    EXPECT_EQ(rig.s.Bank.ChannelCopyTarget, 15);
    EXPECT_EQ(Refreshes(vk::OemOpen), none) << "program copy target already 0";
}

TEST_F(KeyMap, ScaleKeysNaturalsPlainSharpsWithShiftAndNothingWithCtrl) {
    Press('A');
    Press('A', kShiftHeld);
    Press('C');
    EXPECT_EQ(Working().KeyboardScale[0], 65);
    EXPECT_EQ(Working().KeyboardScale[1], 65);
    EXPECT_EQ(Working().KeyboardScale[4], 63);
    EXPECT_EQ(Refreshes('D', kShiftHeld), none) << "E has no sharp";
    EXPECT_EQ(Refreshes('A', kCtrlHeld), none);
    EXPECT_EQ(Refreshes(vk::OemSlash, kShiftCtrl), std::vector<uint32_t>{RedrawScale});
    EXPECT_EQ(Working().KeyboardScale[0], 64);
}

TEST_F(KeyMap, SaveDialogThrowsAwayUnstoredEditsAndCancelDoesNothing) {
    Working().Channels[0].PG = 99;
    EXPECT_EQ(Refreshes(vk::F5), none);
    EXPECT_EQ(Working().Channels[0].PG, 99);
    rig.dialogs.saveAnswer = "mine.cdb";
    EXPECT_EQ(Refreshes(vk::F6), std::vector<uint32_t>{RedrawAll});
    EXPECT_TRUE(std::filesystem::exists("mine.cdb"));
    EXPECT_NE(Working().Channels[0].PG, 99);
    EXPECT_EQ(rig.dialogs.fileDialogs, (std::vector<std::string>{"Open Cadenzo Blends File", "Save Cadenzo Blends File"}));
}

TEST_F(KeyMap, AFileThatCannotBeOpenedOrCreatedEndsTheCommandAndKeepsTheEdits) {
    std::filesystem::create_directory("folder.cdb");
    rig.dialogs.openAnswer = "folder.cdb";
    rig.dialogs.saveAnswer = "folder.cdb";
    Working().Channels[0].PG = 99;
    rig.ClearSent();
    EXPECT_EQ(Refreshes(vk::F5), none);
    EXPECT_EQ(Refreshes(vk::F6), none);
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0], (test::ShownBox{"Cannot open file folder.cdb", "Cadenzo", MessageIcon::None}));
    EXPECT_EQ(rig.dialogs.boxes[1], (test::ShownBox{"Cannot create file folder.cdb", "Cadenzo", MessageIcon::None}));
    EXPECT_EQ(Working().Channels[0].PG, 99);
    EXPECT_TRUE(rig.Synth().empty());
}

TEST_F(KeyMap, UnderASessionF5ImportsAndTheSessionsOwnFileStaysTheOneSaved) {
    rig.s.UnderSession = true;
    rig.s.BlendFileName = "def.cdb";
    rig.s.Bank.Bank.Slots[5].Channels[0].PG = 42;
    rig.dialogs.saveAnswer = "outside.cdb";
    Press(vk::F6);
    const std::vector<uint8_t> exported = ReadBytes("outside.cdb");
    rig.s.Bank.Bank.Slots[5].Channels[0].PG = 1;
    rig.dialogs.openAnswer = "outside.cdb";
    Press(vk::F5);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[5].Channels[0].PG, 42);
    EXPECT_EQ(BlendFileForShutdown(rig.s.BlendFileName), "def.cdb");
    EXPECT_EQ(ReadBytes("outside.cdb"), exported);
}

struct NoSetListView final : SetListView {
    void EditTitle(uint32_t) override {}
    void CloseSetList() override {}
};

// Each change is on disk at once; F6 copies both files beside the new blend
// file, F5 brings back those beside the file it loads.
TEST_F(KeyMap, NamesAndTheSetListAreWrittenAtOnceAndTravelWithTheBlendFile) {
    NoSetListView view;
    EXPECT_FALSE(std::filesystem::exists("def.names"));
    RenameMix(rig.s, 3, "  Ballad strings ");
    RenameMix(rig.s, kGmSlot, "General");
    EXPECT_EQ(FileText("def.names"), "003=Ballad strings\nGM=General\n");
    rig.Play(1, PackShortMessage(0xC0, 0, 3, 0));
    SetListKey(rig.s, view, vk::Insert, false, 0);
    RetitleEntry(rig.s, 0, "Opening song");
    SetListKey(rig.s, view, 'A', false, 0);
    EXPECT_EQ(FileText("def.setlist"), "3 Opening song\n3\n");
    EXPECT_EQ(SetListKey(rig.s, view, vk::Down, false, 0), 1u);
    EXPECT_EQ(SetListKey(rig.s, view, vk::Up, true, 1), 0u);  // moved up
    EXPECT_EQ(FileText("def.setlist"), "3\n3 Opening song\n");

    rig.dialogs.saveAnswer = "mine.cdb";
    Press(vk::F6);
    EXPECT_EQ(FileText("mine.names"), FileText("def.names"));
    EXPECT_EQ(FileText("mine.setlist"), FileText("def.setlist"));

    RenameMix(rig.s, 3, "");
    SetListKey(rig.s, view, vk::Delete, false, 0);
    EXPECT_EQ(FileText("def.names"), "GM=General\n");
    EXPECT_EQ(FileText("def.setlist"), "3 Opening song\n");
    rig.dialogs.openAnswer = "mine.cdb";
    Press(vk::F5);
    EXPECT_EQ(MixName(rig.s, 3), "Ballad strings");
    EXPECT_EQ(SetListRows(rig.s), (std::vector<std::string>{"> 1  MIX 003  Ballad strings",
                                                            "   2  MIX 003  Ballad strings  -  Opening song"}));
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    RenameMix(rig.s, 4, "\xC3\x28 bad");  // not UTF-8: refused, said so
    RenameMix(rig.s, 5, std::string(40, 'x'));
    EXPECT_EQ(MixName(rig.s, 4), "");
    EXPECT_EQ(MixName(rig.s, 5), std::string(32, 'x'));
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Mix name not changed: the text is not UTF-8.");
    EXPECT_EQ(rig.dialogs.boxes[1].text, "Mix name: the text was cut to 32 characters.");
}

TEST_F(KeyMap, AMissingBlendFileIsReportedAndTheMixReloads) {
    rig.dialogs.openAnswer = "missing.cdb";
    Working().Channels[0].PG = 99;
    EXPECT_EQ(Refreshes(vk::F5), std::vector<uint32_t>{RedrawAll});
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].caption, "Errorr!");
    EXPECT_NE(Working().Channels[0].PG, 99);
}

TEST_F(KeyMap, ModifiersFollowTheirOwnKeysAndEveryReleaseRepaintsTheIndicators) {
    KeyDown(rig.s, window, vk::Shift);
    KeyDown(rig.s, window, vk::Shift);  // a held key repeats
    KeyDown(rig.s, window, vk::Control);
    EXPECT_EQ(rig.s.ModifierState, 3u);
    KeyUp(rig.s, window, vk::Shift);
    EXPECT_EQ(rig.s.ModifierState, 2u);
    const int paints = window.indicatorPaints;
    KeyUp(rig.s, window, 'A');
    EXPECT_EQ(window.indicatorPaints, paints + 1);
    EXPECT_EQ(rig.s.ModifierState, 2u);
}

TEST_F(KeyMap, WindowKeysAndPanic) {
    Press(vk::F2);
    Press(vk::F3);
    Press(vk::Escape);
    Press(vk::F10);
    Press(vk::F12);
    Press('N', kCtrlHeld);
    Press('N', kShiftHeld | kCtrlHeld);
    EXPECT_EQ(window.setupDialogs, 1);
    EXPECT_EQ(window.monitorToggles, 1);
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(window.setListToggles, 1);
    EXPECT_EQ(window.performanceToggles, 1);
    EXPECT_EQ(window.nameEditors, 1);
    EXPECT_TRUE(rig.dialogs.questions.empty());
    rig.s.EscapeAsksBeforeQuitting = 1;
    Press(vk::Escape);
    EXPECT_EQ(window.closes, 1) << "answered No";
    rig.dialogs.yesAnswer = true;
    Press(vk::Escape);
    EXPECT_EQ(window.closes, 2);
    EXPECT_EQ(rig.dialogs.questions, (std::vector<std::string>{"End the show?", "End the show?"}));
    rig.ClearSent();
    EXPECT_EQ(Refreshes(vk::Space), std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(SilencedChannels(), 16u);
    for (uint16_t key : {vk::Left, vk::Tab, vk::Return, vk::Menu, vk::F1})
        EXPECT_EQ(Refreshes(key), none) << key;
}

TEST_F(KeyMap, HeldKeysRepeatOneStepPerKeyDownUntilTheLimit) {
    Working().EQ12[0] = 120;
    KeyDown(rig.s, window, vk::Shift);
    rig.display.refreshes.clear();
    for (int i = 0; i < 10; ++i) KeyDown(rig.s, window, '1');
    EXPECT_EQ(Working().EQ12[0], 127);
    EXPECT_EQ(rig.display.refreshes.size(), 7u);
}

}  // namespace
}  // namespace cadenzo
