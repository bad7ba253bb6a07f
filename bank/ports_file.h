// The ports file "Ostinata.ports": the device each of the six ports follows,
// by name, one "Port=name" line per port in UTF-8 text ("In1=system:midi_capture_1").
// Written beside the options file whenever that is written. Main thread only.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace cadenzo {

class Dialogs;

inline constexpr const char* kPortsFile = "Ostinata.ports";

// Per port, In1 .. ControlOut: the device named by the file ("" = no
// device), or nothing where the file has no line for the port.
using PortNames = std::array<std::optional<std::string>, 6>;

// What the file names. A missing or unreadable file names nothing; lines
// of other keys, and lines without '=', are ignored; of two lines for one
// port the last counts.
PortNames ReadPortsFile();

// Writes all six lines, replacing the file in one step. A short write is
// reported, leaves the old file and returns false. Raises FileError when
// the file cannot be created.
bool SavePortsFile(const std::array<std::string, 6>& devices, Dialogs& dialogs);

}  // namespace cadenzo
