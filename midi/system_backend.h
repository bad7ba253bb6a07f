// The MIDI back end on the system's service: the one asked for, or by
// default the ALSA sequencer where it opens, else JACK, whose server may
// come later. A service that does not answer gives a back end with no
// devices, whose ServiceName() is "none". `clientName` is the program's
// client name on that service.
#pragma once

#include <memory>
#include <string>

#include "midi/midi_backend.h"
#include "midi/midi_service.h"
#include "midi/port_names.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted, const std::string& clientName = kDefaultClientName);

}  // namespace cadenzo
