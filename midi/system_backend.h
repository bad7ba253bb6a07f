// The MIDI back end the program plays through: the service asked for, or
// the first that answers.
#pragma once

#include <memory>

#include "midi/midi_backend.h"
#include "midi/midi_service.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted);

}  // namespace cadenzo
