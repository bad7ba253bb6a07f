// The settings file "Cadenzo.settings": the program's settings beyond the
// options record, one "Name=value" line each, kept beside the options file
// so that file keeps its layout. Written after the options file, by the
// save in bank/setup_save.h. Main thread.
#pragma once

#include <cstdint>
#include <string>

namespace cadenzo {

class Dialogs;

inline constexpr const char* kSettingsFile = "Cadenzo.settings";

struct ProgramSettings {
    uint8_t RingAcrossMixChange = 0;       // 1: held and sustained notes ring across a mix change
    uint8_t NextMixController = 0;         // the footswitch controllers: 0 none, else 1..127
    uint8_t PreviousMixController = 0;
    uint8_t EscapeAsksBeforeQuitting = 0;  // 1: Escape in the main window asks before it ends the run
    uint8_t EffectSendsToSynth = 0;        // 1: reverb, chorus and master volume also to Synth Out
};

// What the file holds; a missing file, unknown names and bad values leave
// the defaults.
ProgramSettings ReadSettingsFile();

// The file's text for `settings`: the ring-across line always, every other
// setting only when it is not 0, so a program that uses none of them writes
// the file it always wrote.
std::string SettingsFileText(const ProgramSettings& settings);

// Writes every setting, replacing the file in one step. A short write is
// reported, leaves the old file and returns false. Raises FileError when
// the file cannot be created.
bool SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs);

}  // namespace cadenzo
