#include "midi/system_backend.h"

#include "midi/alsa/alsa_backend.h"
#include "midi/rtmidi/rtmidi_backend.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted) {
    if (wanted == MidiService::Alsa || (wanted == MidiService::Automatic && AlsaBackend::Opens()))
        return std::make_unique<AlsaBackend>();
    return std::make_unique<RtMidiBackend>(MidiService::Jack);
}

}  // namespace cadenzo
