// The texts of the MIDI monitor's lines. Pure functions.
#pragma once

#include <cstdint>
#include <string>

#include "engine/monitor_feed.h"
#include "midi/short_message.h"

namespace cadenzo {

// One short message; the port tag in bits 24..31 is ignored.
std::string ShortMessageLine(ShortMessage m);

// Lines for anything but a channel voice message begin with 'S'.
bool IsChannelVoiceLine(const std::string& line);

// One key event: the virtual-key code and the ModifierState.
std::string KeyLine(uint16_t key, uint32_t flags);

// One event seen by the message hook.
std::string WindowMessageLine(uint32_t id);

// The full input queue has lost `lost` messages since the start.
std::string LostInputLine(uint32_t lost);
// The messages port `port` (3..5, SynthOut .. ControlOut) could not send
// (a full output queue or pool, a receiver that took nothing), in all.
std::string LostOutputLine(uint8_t port, uint64_t lost);

// The program's memory could not be locked at start, for the reason
// `error` (an errno value).
std::string MemoryNotLockedLine(int error);

// The device of port `port` (0..5, In1 .. ControlOut) has gone or is back.
std::string DeviceLine(uint8_t port, bool back);

// No device of the name port `port` follows is listed: it took the same
// client's port number `number`.
std::string DeviceByNumberLine(uint8_t port, uint32_t number);

// A datagram on the session manager's socket was not taken.
std::string SessionRefusalLine(SessionRefusal why);

}  // namespace cadenzo
