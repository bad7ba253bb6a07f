// Which MIDI service the program asks for: the one that answers first, or
// one named on the command line.
#pragma once

#include <string>

namespace cadenzo {

enum class MidiService {
    Automatic,  // the ALSA sequencer when /dev/snd/seq opens, else a running JACK server
    Alsa,
    Jack,
};

// The line to print when no service answered, naming what was looked for
// and that the program runs with no MIDI devices.
std::string NoMidiServiceNote(MidiService wanted);

}  // namespace cadenzo
