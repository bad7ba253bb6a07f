// MIDI device lists and the six ports. Main thread only. Every failure of
// the MIDI service is reported in a message box; none stops the program.
// The calls to the MIDI service (listing, opening, closing) are made with
// the engine lock let go, so playing goes on while the service works; an
// output being changed takes nothing meanwhile.
//
// Each port follows a device by name (PortState::RememberedDevices): the
// device a player chose, or the one the ports file names. Device follow
// (engine/device_follow.h) keeps the ports on those devices as they come and go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bank/ports_file.h"
#include "engine/system_state.h"

namespace cadenzo {

inline constexpr const char* kNoInputDevice = "NO Selected IN Device";
inline constexpr const char* kNoOutputDevice = "NO Selected OUT Device";

void EnumerateMidiDevices(SystemState& s);
void FreeDeviceLists(SystemState& s);

// Each closes the port's device, if one is open, then opens device n - 1
// when n is not 0. The outcome shows in the port's open number, and the
// port then follows the device open on it (none when nothing is).
void SelectIn1Port(SystemState& s, uint32_t n);
void SelectIn2Port(SystemState& s, uint32_t n);
void SelectIn3Port(SystemState& s, uint32_t n);
void SelectSynthOutPort(SystemState& s, uint32_t n);
void SelectThruOutPort(SystemState& s, uint32_t n);
void SelectControlOutPort(SystemState& s, uint32_t n);

// Opens the six ports in the order In1, In2, In3, SynthOut, ThruOut,
// ControlOut: a port that `names` names a device for follows that device
// and opens it wherever it is listed (or waits for it, closed, while it is
// not); every other port opens the device number the options hold, as
// SelectPort does. CloseAllPorts closes them in the same order.
// `orders` says which of the devices of a name each port follows.
// `clientPorts` says, where known, the port number within its client of the
// device each port follows (PortState::RememberedClientPorts).
void OpenAllPorts(SystemState& s, const PortNames& names = {}, const PortOrders& orders = {},
                  const PortClientPorts& clientPorts = {});
void CloseAllPorts(SystemState& s);

// The number of the device the port follows (PortState::RememberedDevices,
// or one the MIDI service knows by that name, as a JACK port by its alias)
// in the port's list: of the devices of that name not open on another port
// of the same direction, the one at the port's order among them
// (PortState::RememberedOrders), else the first; else one that another port
// follows by the same name and order (the player chose one device for
// both); where no device of that name is listed at all, the free device of
// the same client with the port number the port remembers
// (PortState::RememberedClientPorts); 0 when there is none: the port waits
// for a free one.
uint32_t FindDevice(const SystemState& s, PortId port);
// After device n that FindDevice gave opened on the port: where it was found
// by its port number, the port follows it under its new name from now on,
// with a monitor line saying so.
void FollowOpened(SystemState& s, PortId port, uint32_t n);
// The order of device n among the devices of its name in `list` (1 = the first).
uint32_t NamesakeOrder(const std::vector<std::string>& list, uint32_t n);

// For device follow, without message boxes and leaving the device the
// port follows as it is:
// - the port's device has gone: closes the port; an input then lets go of
//   every key and pedal its device held, through its own callback, as if the
//   device had let go of them itself;
// - opens device n on the port, returning whether it opened.
void DropLostPort(SystemState& s, PortId port);
bool ReopenPort(SystemState& s, PortId port, uint32_t n);

}  // namespace cadenzo
