// The program settings of `Cadenzo.settings` as the running program holds
// them: read into the state at start, gathered from it by every save of the
// setup (the setup dialog's and a session's). Window thread, with the engine lock held.
#pragma once

#include "bank/settings_file.h"
#include "bank/setup_save.h"

namespace cadenzo {

struct SystemState;

ProgramSettings ProgramSettingsNow(const SystemState& s);
void UseProgramSettings(SystemState& s, const ProgramSettings& settings);
// Everything a save of the setup writes, as the state holds it now.
SetupToSave SetupOf(SystemState& s);

}  // namespace cadenzo
