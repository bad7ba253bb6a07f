// The options file "Ostinata.opt": the settings record's raw 200-byte image.
// Main thread only.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "bank/options_record.h"
#include "midi/port_names.h"

namespace cadenzo {

class Dialogs;
class Display;

inline constexpr const char* kOptionsFile = "Ostinata.opt";

// Every field that has a default takes it; the effect levels, byte 65 and
// the GM thru switch keep what they hold.
void ApplyOptionDefaults(OptionsRecord& o);

// Interval of the automatic drum note-off timer for a NoteOffDelay value.
inline uint32_t DrumOffIntervalMs(uint8_t noteOffDelay) { return noteOffDelay * 10u + 10u; }

// Reads the options at start-up: a missing or short file is reported and
// the defaults are applied over what was read. Then sets the drum note-off
// timer and, when GmStartMode is 0 or 1, the GM mode. Raises FileError when
// the file exists but cannot be opened.
void LoadOptions(OptionsRecord& o, std::atomic<bool>& gmMode, Dialogs& dialogs, Display& display);

// Stores the device numbers actually open (In1, In2, In3, SynthOut, ThruOut,
// ControlOut) into the record and writes it, replacing the file in one step.
// A short write is reported, leaves the old file and returns false. Raises
// FileError when the file cannot be created.
bool SaveOptions(OptionsRecord& o, const PerPort<uint32_t>& openPorts, Dialogs& dialogs);

}  // namespace cadenzo
