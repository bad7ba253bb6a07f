// The MIDI back end on the system's service: the one asked for, or by
// default the ALSA sequencer where it opens, else JACK, whose server may
// come later. A service that does not answer gives a back end with no
// devices, whose ServiceName() is "none".
#pragma once

#include <memory>

#include "midi/midi_backend.h"
#include "midi/midi_service.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted);

}  // namespace cadenzo
