#include "midi/midi_service.h"

namespace cadenzo {

std::optional<MidiService> MidiServiceNamed(std::string_view option) {
    for (const MidiServiceInfo& info : kMidiServices)
        if (*info.option != '\0' && option == info.option) return info.service;
    return std::nullopt;
}

std::string MidiServiceOptions() {
    std::string options;
    for (const MidiServiceInfo& info : kMidiServices) {
        if (*info.option == '\0') continue;
        options += (options.empty() ? "" : " or ") + std::string(info.option);
    }
    return options;
}

std::string NoMidiServiceNote(MidiService wanted) {
    const MidiServiceInfo& info = ServiceInfo(wanted);
    return std::string("cadenzo: ") + info.missing + ": starting with no MIDI devices" +
           (info.waited ? " until a JACK server starts." : ".");
}

}  // namespace cadenzo
