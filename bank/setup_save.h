// The save of the setup: the values the setup dialog edits and a session
// keeps, in the three files that hold them, in their one order: the ports
// file, then the options file, then the settings file (Cadenzo.settings).
// The ports file goes first because its device names count over the
// options' device numbers at the next start: when it fails nothing is
// written, and when the options then fail the next start still opens the
// devices chosen now with every other setting saved before. Each failure is
// reported with what the next start will do. Used by the setup dialog's
// save and by a session's save. Main thread.
#pragma once

#include <cstdint>
#include <string>

#include "bank/options_record.h"
#include "bank/ports_file.h"
#include "bank/settings_file.h"
#include "midi/port_names.h"

namespace cadenzo {

class Dialogs;

inline constexpr const char* kNothingSavedText =
    "Nothing was saved: the next start uses the settings and devices saved before.";
inline constexpr const char* kOnlyPortsSavedText =
    "Only the devices were saved (Ostinata.ports), not the other settings (Ostinata.opt): the next start opens "
    "the devices chosen now with the settings saved before.";

// The setup: the options record, the device numbers open on the ports,
// the device each port follows by name, its order among namesakes and its
// port number within its client, and the settings beyond the options record.
struct SetupToSave {
    OptionsRecord& options;
    PerPort<uint32_t> openPorts;
    PerPort<std::string> devices;
    PortOrders orders;
    PortClientPorts clientPorts;
    ProgramSettings program;  // Cadenzo.settings
};

// Returns whether every file was written.
bool SaveSetup(const SetupToSave& what, Dialogs& dialogs);

}  // namespace cadenzo
