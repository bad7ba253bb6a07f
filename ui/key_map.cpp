#include "ui/key_map.h"

#include <array>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "bank/gig_files.h"
#include "engine/copy_manager.h"
#include "engine/dispatcher.h"
#include "engine/mix_steps.h"
#include "engine/system_state.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "services/dialogs.h"
#include "services/display.h"
#include "services/redraw_mask.h"
#include "ui/grid_keys.h"
#include "ui/key_steps.h"
#include "ui/monitor.h"
#include "ui/play_to_set.h"
#include "ui/stored_bank.h"
#include "ui/virtual_keys.h"

namespace cadenzo {

namespace {

constexpr const char* kBlendFilter = "Cadenzo Blends (*.cdb)|*.CDB";
constexpr const char* kBlendExtension = "cdb";
constexpr int32_t kTransposeLimit = 12;
constexpr uint8_t kNeutral = 64;

// The digit row steps up and the letter row below it steps down the item of
// the same position 1..10; 0 when the key is in neither row.
constexpr std::array<uint16_t, 10> kUpRow{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
constexpr std::array<uint16_t, 10> kDownRow{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'};

int RowPosition(const std::array<uint16_t, 10>& row, uint16_t key) {
    for (size_t i = 0; i < row.size(); ++i)
        if (row[i] == key) return static_cast<int>(i) + 1;
    return 0;
}

// The keyboard-scale keys: natural pitch class, and the sharp above it that
// Shift selects (-1 where there is none).
struct ScaleKey {
    uint16_t up, down;
    int natural, sharp;
};
constexpr std::array<ScaleKey, 7> kScaleKeys{{
    {'A', 'Z', 0, 1},
    {'S', 'X', 2, 3},
    {'D', 'C', 4, -1},
    {'F', 'V', 5, 6},
    {'G', 'B', 7, 8},
    {'H', 'N', 9, 10},
    {'J', 'M', 11, -1},
}};

bool GmMode(const SystemState& s) { return s.Bank.GmMode.load(); }

Mix& EditTarget(SystemState& s) { return GmMode(s) ? s.Bank.Bank.Slots[kGmSlot] : s.Bank.WorkingMix; }

std::array<uint8_t, kEqBands>& Equaliser(Mix& mix, uint32_t modifiers) {
    return modifiers == kShiftHeld ? mix.EQ12 : modifiers == kCtrlHeld ? mix.EQ34 : mix.EQ56;
}

uint32_t EqualiserMask(uint32_t modifiers) {
    return modifiers == kShiftHeld ? RedrawEq12 : modifiers == kCtrlHeld ? RedrawEq34 : RedrawEq56;
}

CommandFlags Edited(bool changed, uint32_t mask) { return {changed, changed, mask}; }

CommandFlags LoadProgram(SystemState& s, uint32_t n) {
    LoadMix(s.Bank, n);
    return {true, false, RedrawAll};
}

CommandFlags TopRowKey(SystemState& s, int k, bool up) {
    const uint32_t modifiers = s.ModifierState;
    if (modifiers != 0) {
        uint8_t& band = Equaliser(EditTarget(s), modifiers)[k - 1];
        return Edited(up ? StepUp(band, 127) : StepDown(band, 0), EqualiserMask(modifiers));
    }
    if (k <= 5) {
        auto& levels = GmMode(s) ? s.Options.GmEffectLevels : s.Options.EffectLevels;
        uint8_t& level = levels[k - 1];
        return {up ? StepUp(level, 127) : StepDown(level, 0), false, RedrawEffects};
    }
    if (k < 10 || GmMode(s)) return {};
    const uint32_t current = s.Bank.CurrentProgram;
    if (up && current < kPrograms - 1) return LoadProgram(s, current + 1);
    if (!up && current > 0) return LoadProgram(s, current - 1);
    return {};
}

CommandFlags ScaleKeyPressed(SystemState& s, const ScaleKey& key, bool up) {
    const uint32_t modifiers = s.ModifierState;
    const int note = modifiers == 0 ? key.natural : modifiers == kShiftHeld ? key.sharp : -1;
    if (note < 0) return {};
    uint8_t& value = EditTarget(s).KeyboardScale[note];
    return Edited(up ? StepUp(value, 127) : StepDown(value, 0), RedrawScale);
}

CommandFlags GraveKey(SystemState& s) {
    const uint32_t modifiers = s.ModifierState;
    if (modifiers == 0) return GmMode(s) ? CommandFlags{} : LoadProgram(s, s.Bank.CurrentProgram);
    return Edited(ResetAll(Equaliser(EditTarget(s), modifiers), kNeutral), EqualiserMask(modifiers));
}

// Shift + ',' '.' the portamento time; Ctrl + ',' '.' the pitch-bend range.
CommandFlags PortamentoOrBendKey(SystemState& s, bool up) {
    Mix& mix = s.Bank.WorkingMix;
    switch (s.ModifierState) {
    case kShiftHeld:
        return Edited(up ? StepUp(mix.PortaSpeed, 250) : StepDown(mix.PortaSpeed, 1), RedrawPortamento);
    case kCtrlHeld: {
        uint8_t range = mix.BendRange;  // the glide tick reads it on its own thread
        const bool changed = up ? StepUp(range, 12) : StepDown(range, 1);
        WriteShared(mix.BendRange, range);
        return Edited(changed, RedrawPitchBend);
    }
    default:
        return {};
    }
}

void StepMasterVolume(SystemState& s, bool up) {
    uint8_t& volume = s.Transmission.MasterVolume;
    if (up ? StepUp(volume, 127) : StepDown(volume, 0)) SendMasterVolume(s);
}

void StepTranspose(SystemState& s, int32_t step) {
    int32_t& transpose = s.Performance.MasterTranspose;
    const int32_t next = step == 0 ? 0 : transpose + step;
    if (next < -kTransposeLimit || next > kTransposeLimit) return;
    transpose = next;
    ApplyMasterTranspose(s);
}

CommandFlags BackspaceKey(SystemState& s) {
    if (GmMode(s)) return {};
    switch (s.ModifierState) {
    case 0:
        StoreMix(s.Bank, s.Bank.CurrentProgram);
        return {true, false, RedrawAll};
    case kShiftHeld:
        ProgramCopy(s);
        return {true, false, RedrawAll};
    case kCtrlHeld:
        ChannelCopy(s);
        return {true, true, RedrawAll};
    default:
        return {};
    }
}

CommandFlags CopyTargetStep(uint8_t& target, bool up, uint8_t max) {
    return {up ? StepUp(target, max) : StepDown(target, 0), false, RedrawAll};
}

// F5 and F6: the blend file through a file dialog, with the names and the
// set list beside it, then the current mix again from the bank. A file that cannot be opened or created is reported
// like every other raised error, and the command ends there, so the
// unstored edits of the working mix are kept. Under a session F5 imports:
// the chosen file's bank is taken, but the session's own file stays the
// one saved; F6 always writes a copy.
CommandFlags BlendFileKey(SystemState& s, bool save) {
    if (GmMode(s)) return {};
    Dialogs& dialogs = *s.Io.dialogs;
    const FileDialogRequest request{save ? "Save Cadenzo Blends File" : "Open Cadenzo Blends File", kBlendFilter,
                                    kBlendExtension};
    const auto path = save ? dialogs.SaveFileDialog(request) : dialogs.OpenFileDialog(request);
    if (!path) return {};
    std::string imported;
    try {
        if (save) {
            SaveBlendFile(s.Bank, *path, dialogs);
            SaveNamesFile(*path, s.Names, dialogs);
            SaveSetListFile(*path, s.Songs, dialogs);
        } else if (LoadBlendFile(s.Bank, s.UnderSession ? imported : s.BlendFileName, *path, dialogs, *s.Io.display)) {
            LoadGigFiles(*path, s.Names, s.Songs, dialogs);
        }
    } catch (const FileError& e) {
        ShowException(dialogs, e.what());
        return {};
    }
    // An imported bank goes into the session's own file from now on, and so
    // do the names and the set list that came with it.
    if (!imported.empty()) {
        s.BlendFileName = kDefaultBlendFile;
        try {
            SaveNamesFile(s.BlendFileName, s.Names, dialogs);
            SaveSetListFile(s.BlendFileName, s.Songs, dialogs);
        } catch (const FileError& e) {
            ShowException(dialogs, e.what());
        }
    }
    return LoadProgram(s, s.Bank.CurrentProgram);
}

// Ctrl+Z: the working mix as it was before its last edit, sent and shown.
CommandFlags UndoKey(SystemState& s) {
    if (GmMode(s) || !UndoEdit(s.Bank)) return {};
    return {true, false, RedrawAll};
}

CommandFlags ResetChannels(SystemState& s) {
    ResetAllChannels(s);
    return {true, false, RedrawAll};
}

CommandFlags Command(SystemState& s, KeyWindow& window, uint16_t key) {
    if (key == 'N' && s.ModifierState == kCtrlHeld) {
        window.OpenNameEditor();
        return {};
    }
    if (const int k = RowPosition(kUpRow, key)) return TopRowKey(s, k, true);
    if (const int k = RowPosition(kDownRow, key)) return TopRowKey(s, k, false);
    if (key == 'Z' && s.ModifierState == kCtrlHeld) return UndoKey(s);
    for (const ScaleKey& scaleKey : kScaleKeys) {
        if (key == scaleKey.up) return ScaleKeyPressed(s, scaleKey, true);
        if (key == scaleKey.down) return ScaleKeyPressed(s, scaleKey, false);
    }
    switch (key) {
    case vk::Shift:
    case vk::Control:
        s.ModifierState |= key == vk::Shift ? kShiftHeld : kCtrlHeld;
        window.ShowModifierIndicators();
        return {};
    case vk::Insert:
    case vk::Delete:
        return StepGridCell(s, key == vk::Insert);
    case vk::Prior:
    case vk::Next:
        return PageGridCell(s, key == vk::Prior);
    case vk::Home:
    case vk::End:
        return EndGridCell(s, key == vk::End);
    case vk::Return:
        return PlayToSetKey(s);
    case vk::OemSlash:
        return Edited(ResetAll(EditTarget(s).KeyboardScale, kNeutral), RedrawScale);
    case vk::OemGrave:
        return GraveKey(s);
    case vk::OemComma:
    case vk::OemPeriod:
        return PortamentoOrBendKey(s, key == vk::OemPeriod);
    case 'K':
    case vk::Subtract:
    case 'L':
    case vk::Add:
        StepMasterVolume(s, key == 'L' || key == vk::Add);
        return {};
    case vk::F7:
    case vk::F8:
    case vk::F9:
        StepTranspose(s, key == vk::F7 ? -1 : key == vk::F8 ? 1 : 0);
        return {};
    case vk::Back:
        return BackspaceKey(s);
    case vk::OemMinus:
    case vk::OemOpen:
        return CopyTargetStep(s.Bank.ProgramCopyTarget, key == vk::OemMinus, kPrograms - 1);
    case vk::OemPlus:
    case vk::OemClose:
        return CopyTargetStep(s.Bank.ChannelCopyTarget, key == vk::OemPlus, kChannels - 1);
    case vk::F5:
    case vk::F6:
        return BlendFileKey(s, key == vk::F6);
    case vk::OemBackslash:
        if (!GmMode(s) && s.Options.TerciPort != 0) TercScanKey(s);
        return {};
    case vk::Space:
        return ResetChannels(s);
    case vk::F4: {
        const CommandFlags flags = ResetChannels(s);
        s.Bank.GmMode.store(!GmMode(s));
        return flags;
    }
    case vk::F2:
        window.OpenSetupDialog();
        return {true, false, RedrawAll};
    case vk::F3:
        window.ToggleMonitorPane();
        return {};
    case vk::Escape:
        if (s.EscapeAsksBeforeQuitting == 0 || s.Io.dialogs->AskYesNo("End the show?", "Cadenzo"))
            window.CloseMainWindow();
        return {};
    case vk::F11:
        window.ToggleZoneMap();
        return {};
    case vk::F10:
        window.ToggleSetList();
        return {};
    case vk::F12:
        window.TogglePerformanceView();
        return {};
    case vk::OemQuote:
    case vk::OemSemicolon:
        StepMix(s, key == vk::OemQuote);
        return {};
    default:
        return {};
    }
}

void MonitorKeyEvent(SystemState& s, uint16_t key) {
    if (ReadShared(s.Options.MonitorSource) == kMonitorKeyboard) MonitorKey(s, key, s.ModifierState);
}

}  // namespace

void KeyDown(SystemState& s, KeyWindow& window, uint16_t key) {
    DispatchPending(s);
    if (key != vk::Return && key != vk::Shift && key != vk::Control) CancelPlayToSet(s);
    FinishCommand(s, Command(s, window, key));
    MonitorKeyEvent(s, key);
    WriteStoredBank(s);
}

void KeyUp(SystemState& s, KeyWindow& window, uint16_t key) {
    DispatchPending(s);
    if (key == vk::Shift) s.ModifierState &= ~kShiftHeld;
    if (key == vk::Control) s.ModifierState &= ~kCtrlHeld;
    window.ShowModifierIndicators();
    MonitorKeyEvent(s, key);
}

}  // namespace cadenzo
