#include "midi/system_backend.h"

#include <unistd.h>

#include "midi/jack/jack_backend.h"
#include "midi/rtmidi/rtmidi_backend.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted) {
    // The ALSA sequencer first where it opens. TODO(lead): the ALSA back end
    // (midi/alsa/alsa_backend.h) replaces RtMidi here:
    //   if (wanted != MidiService::Jack && AlsaBackend::Opens()) return std::make_unique<AlsaBackend>();
    const bool alsaOpens = ::access("/dev/snd/seq", R_OK | W_OK) == 0;
    if (wanted == MidiService::Alsa || (wanted == MidiService::Automatic && alsaOpens))
        return std::make_unique<RtMidiBackend>(MidiService::Alsa);
    // Else JACK, whose server may come later.
    return std::make_unique<JackBackend>();
}

}  // namespace cadenzo
