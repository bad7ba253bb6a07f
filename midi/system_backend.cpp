#include "midi/system_backend.h"

#include "midi/alsa/alsa_backend.h"
#include "midi/jack/jack_backend.h"

namespace cadenzo {

std::unique_ptr<MidiBackend> MakeSystemBackend(MidiService wanted, const std::string& clientName) {
    if (wanted == MidiService::Alsa || (wanted == MidiService::Automatic && AlsaBackend::Opens()))
        return std::make_unique<AlsaBackend>(clientName);
    // Else JACK, whose server may come later.
    return std::make_unique<JackBackend>(clientName);
}

}  // namespace cadenzo
