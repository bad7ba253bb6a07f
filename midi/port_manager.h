// MIDI device lists and the six ports. Main thread only. Every failure of
// the MIDI service is reported in a message box; none stops the program.
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

inline constexpr const char* kNoInputDevice = "NO Selected IN Device";
inline constexpr const char* kNoOutputDevice = "NO Selected OUT Device";

void EnumerateMidiDevices(SystemState& s);
void FreeDeviceLists(SystemState& s);

// Each closes the port's device, if one is open, then opens device n - 1
// when n is not 0. The outcome shows in the port's open number.
void SelectIn1Port(SystemState& s, uint32_t n);
void SelectIn2Port(SystemState& s, uint32_t n);
void SelectIn3Port(SystemState& s, uint32_t n);
void SelectSynthOutPort(SystemState& s, uint32_t n);
void SelectThruOutPort(SystemState& s, uint32_t n);
void SelectControlOutPort(SystemState& s, uint32_t n);

// Opens the six ports from the options, in the order In1, In2, In3,
// SynthOut, ThruOut, ControlOut; closes them in the same order.
void OpenAllPorts(SystemState& s);
void CloseAllPorts(SystemState& s);

}  // namespace cadenzo
