// MIDI remote control of the program itself: program changes select (or
// store) mixes, one controller sets the master volume. Runs where the
// engine lock is held (an input callback, the MIDI engine thread or the
// window thread).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// Selects mix `program` (< 128): loads it, transmits it and refreshes the
// window, as every way of choosing a mix does.
void SelectProgram(SystemState& s, uint32_t program);

// Every program change (program 0..127) from input port 1 or 2 outside GM
// mode and the drum input.
void ProgramSelect(SystemState& s, uint8_t port, uint8_t ch, uint8_t program);

// The master-volume controller from a port its filter lets through.
void MasterVolumeControl(SystemState& s, uint8_t port, uint8_t ch, uint8_t value);

}  // namespace cadenzo
