// What `cadenzo --list-devices` prints: the MIDI service that answered, its
// inputs and outputs with the numbers the options file and the setup dialog
// use, and the names the ports file takes.
#pragma once

#include <string>

#include "midi/midi_backend.h"

namespace cadenzo {

std::string DeviceListing(MidiBackend& midi);

}  // namespace cadenzo
