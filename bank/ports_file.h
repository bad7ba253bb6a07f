// The ports file "Ostinata.ports": the device each of the six ports follows,
// by name, one "Port=name" line per port in UTF-8 text ("In1=system:midi_capture_1").
// Where several devices carry that name (two identical keyboards), a line
// "Port.Order=k" says which of them, the k-th listed (a file without it
// means the first). Where the MIDI service numbers its clients' ports, a
// line "Port.ClientPort=n" keeps the device's port number within its
// client, which a name that matches nothing falls back to. Written beside
// the options file whenever that is written. Main thread only.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "midi/port_names.h"

namespace cadenzo {

class Dialogs;

inline constexpr const char* kPortsFile = "Ostinata.ports";

// Per port, In1 .. ControlOut: the device named by the file ("" = no
// device), or nothing where the file has no line for the port.
using PortNames = PerPort<std::optional<std::string>>;
// Per port, In1 .. ControlOut: the order of its device among the devices of
// its name, 1 = the first; 0 = not said (the first).
using PortOrders = PerPort<uint32_t>;
// Per port, In1 .. ControlOut: its device's port number within its client,
// where known.
using PortClientPorts = PerPort<std::optional<uint32_t>>;

// What the file names. Spaces around a port's name (in any case) and around
// its device's are left out. A missing or unreadable file names nothing;
// blank lines and notes starting with '#' are skipped; every other line that
// names no port (or an order that is no number from 1 up, or a client's port
// number that is no number) is ignored and reported, one line of `report`
// each; of two lines for one port the last counts. The orders go to
// `orders` and the port numbers to `clientPorts`, where given.
PortNames ReadPortsFile(std::ostream& report, PortOrders* orders = nullptr, PortClientPorts* clientPorts = nullptr);

// Writes all six lines, and after each port with a device an order line
// where its order is past the first and a port-number line where one is
// known, replacing the file in one step. A short write is
// reported, leaves the old file and returns false. Raises FileError when
// the file cannot be created.
bool SavePortsFile(const PerPort<std::string>& devices, Dialogs& dialogs, const PortOrders& orders = {},
                   const PortClientPorts& clientPorts = {});

}  // namespace cadenzo
