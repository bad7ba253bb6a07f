#include "midi/midi_service.h"

namespace cadenzo {

std::string NoMidiServiceNote(MidiService wanted) {
    std::string missing;
    switch (wanted) {
    case MidiService::Alsa:
        missing = "The ALSA sequencer (/dev/snd/seq) cannot be opened";
        break;
    case MidiService::Jack:
        missing = "No JACK server is running";
        break;
    case MidiService::Automatic:
        missing = "Neither the ALSA sequencer (/dev/snd/seq) opens nor a JACK server runs";
        break;
    }
    const bool waits = wanted != MidiService::Alsa;
    return "cadenzo: " + missing + ": starting with no MIDI devices" +
           (waits ? " until a JACK server starts." : ".");
}

}  // namespace cadenzo
