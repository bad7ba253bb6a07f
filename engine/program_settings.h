// The settings of `Cadenzo.settings` as the running program holds them: read
// into the state at start, gathered from it by every save (the setup
// dialog's and a session's). Window thread, with the engine lock held.
#pragma once

#include "bank/settings_file.h"
#include "bank/settings_save.h"

namespace cadenzo {

struct SystemState;

ProgramSettings SettingsNow(const SystemState& s);
void UseSettings(SystemState& s, const ProgramSettings& settings);
// Everything a save of the settings writes, as the state holds it now.
SettingsToSave SettingsOf(SystemState& s);

}  // namespace cadenzo
