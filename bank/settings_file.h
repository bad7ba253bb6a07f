// The settings file "Cadenzo.settings": the program's settings beyond the
// options record, one "Name=value" line each, kept beside the options file
// so that file keeps its layout. Written whenever the options are. Main
// thread only.
#pragma once

#include <cstdint>
#include <string>

namespace cadenzo {

class Dialogs;

inline constexpr const char* kSettingsFile = "Cadenzo.settings";

struct ProgramSettings {
    uint8_t RingAcrossMixChange = 0;  // 1: held and sustained notes ring across a mix change
    uint8_t EffectSendsToSynth = 0;   // 1: reverb, chorus and master volume also to Synth Out
};

// What the file holds; a missing file, unknown names and bad values leave
// the defaults.
ProgramSettings ReadSettingsFile();

// The file's text for `settings`: every setting, one line each.
std::string SettingsFileText(const ProgramSettings& settings);

// Writes every setting, replacing the file in one step. A short write is
// reported and leaves the old file. Raises FileError when the file cannot
// be created.
void SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs);

}  // namespace cadenzo
