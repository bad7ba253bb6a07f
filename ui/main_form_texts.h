// The fixed texts of the main window: area captions and the hints (tool
// tips) that name the keys changing each area.
#pragma once

#include <array>

#include "bank/mix_records.h"
#include "ui/display_text.h"

namespace cadenzo {

inline constexpr const char* kGridCaption = "All 16 MIDI Channel Parameters";
inline constexpr const char* kProgramCaption = "Current Selected MIX";
inline constexpr const char* kEffectsCaption = "kX Effect Master Vol";
inline constexpr const char* kTransposeCaption = "Master Transpose";
inline constexpr const char* kTercaCaption = "Terca Mode";
inline constexpr const char* kCopyCaption = "Mix/Ch Copy Manager";
inline constexpr const char* kScaleCaption = "Keyboard Scale";
inline constexpr const char* kPortamentoCaption = "Portamento";
inline constexpr const char* kPitchBendCaption = "PitchBend";
inline constexpr const char* kMasterVolumeCaption = " Master Volume";
inline constexpr std::array<const char*, 3> kEqCaptions{"EQ Out 1:2", "EQ Out 3:4", "EQ Out 5:6"};
inline constexpr std::array<const char*, kEffectLevels> kEffectCaptions{"Hall", "Chorus", "Delay", "Ch->Rev",
                                                                        "Del->Rev"};
// The port lamps' captions, each over its two lamps.
inline constexpr const char* kInLampsCaption = "1 Ins 2";
inline constexpr const char* kOutLampsCaption = " S1    kX ";
inline constexpr const char* kThruLampsCaption = "THRU";

inline constexpr const char* kGridHint = "[Strelki] - Cell Navigation\n[Insert]/[Del] - Change Value";
inline constexpr const char* kProgramHint =
    "[0] / [P] - Change Current Program\n[Backspace] - Save Current Program\n"
    "[Ctrl+Shift]+MIDI Program Change -\nSave Current Program to NEW Number";
inline constexpr std::array<const char*, kEffectLevels> kEffectHints{"[1] - [Q]", "[2] - [W]", "[3] - [E]",
                                                                     "[4] - [R]", "[5] - [T]"};
inline constexpr const char* kTransposeHint = "Master Transpose\n[F7 Down] - [F8 Up] - [F9 Reset to 0]";
inline constexpr const char* kTercaHint = "[\\] - for new Terc scan";
inline constexpr const char* kCopyProgramHint =
    "Copy current Program\nto destination Program\n[_] - [[] - Select destination\n[Backspace] - Start Copy";
inline constexpr const char* kCopyChannelHint =
    "Copy current MIDI Channel\nto destination MIDI Channel.\n[=] - []] - Select destination\n"
    "[Backspace] - Start Copy";
inline constexpr const char* kScaleHint = "[/] - Reset Scale";
inline constexpr const char* kPortamentoHint = "[Shift] + [<] / [>] - Change Portamento Speed";
inline constexpr const char* kPitchBendHint = "[Ctrl] + [<] / [>] - Change PitchBend Range";
inline constexpr std::array<const char*, 3> kEqHints{
    "[Shift] + [1,2,3...0]/[Q,W,E...P]\n[Shift] + [`] - Reset All",
    "[Ctrl] + [1,2,3...0]/[Q,W,E...P]\n[Ctrl] + [`] - Reset All",
    "[Shift+Ctrl] + [1,2,3...0]/[Q,W,E...P]\n[Shift+Ctrl] + [`] - Reset All",
};
inline constexpr const char* kMasterVolumeHint = "[Num +] - [Num -] or [L] - [K]";

// The twelve scale labels in chromatic order C, C#, D, .. A#, H: element
// name, caption before the first refresh, hint, and whether it sits on a
// black key.
struct ScaleKey {
    const char* name;
    const char* caption;
    const char* hint;
    bool black;
};
inline constexpr std::array<ScaleKey, kScaleNotes> kScaleKeys{{
    {"Label_C", "C", "[A] - [Z]", false},
    {"Label_Cis", "C#", "[Shift+A] - [Shift + Z]", true},
    {"Label_D", "D", "[S] - [X]", false},
    {"Label_Dis", "D#", "[Shift + S] - [Shift + X]", true},
    {"Label_E", "E", "[D] - [C]", false},
    {"Label_F", "F", "[F] - [V]", false},
    {"Label_Fis", "F#", "[Shift + F] - [Shift + V]", true},
    {"Label_G", "G", "[G] - [B]", false},
    {"Label_Gis", "G#", "[Shift + G] - [Shift + B]", true},
    {"Label_A", "A", "[H] - [N]", false},
    {"Label_Ais", "A#", "[Shift + H] - [Shift + N]", true},
    {"Label_H", "H", "[J] - [M]", false},
}};

}  // namespace cadenzo
