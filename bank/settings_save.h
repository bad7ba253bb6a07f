// The setup dialog's save: the ports file, then the options file. The ports
// file goes first because its device names count over the options' device
// numbers at the next start: when it fails nothing is written, and when only
// the options fail the next start still opens the devices chosen now. Either
// failure is reported with what the next start will do. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/options_record.h"
#include "bank/ports_file.h"

namespace cadenzo {

class Dialogs;

inline constexpr const char* kNothingSavedText =
    "Nothing was saved: the next start uses the settings and devices saved before.";
inline constexpr const char* kOnlyPortsSavedText =
    "Only the devices were saved (Ostinata.ports), not the other settings (Ostinata.opt): the next start opens "
    "the devices chosen now with the settings saved before.";

// Returns whether both files were written.
bool SaveSettings(OptionsRecord& o, const std::array<uint32_t, 6>& openPorts,
                  const std::array<std::string, 6>& devices, Dialogs& dialogs, const PortOrders& orders = {},
                  const PortClientPorts& clientPorts = {});

}  // namespace cadenzo
