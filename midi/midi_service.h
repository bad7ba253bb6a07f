// The MIDI services the program can ask for: the one that answers first, or
// one named on the command line. The one table of them is read by the
// command line, the demo's set-up tool and the note printed at start when
// no service answers; midi/system_backend.cpp opens them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace cadenzo {

enum class MidiService {
    Automatic,  // the ALSA sequencer when /dev/snd/seq opens, else a running JACK server
    Alsa,
    Jack,
};

struct MidiServiceInfo {
    MidiService service;
    const char* option;   // the --midi value that asks for it; "" for the automatic choice
    const char* name;     // what the device listing calls it once it answers; "" for the automatic choice
    const char* missing;  // what the start-up note says when it does not answer
    bool waited;          // the program runs on and takes the service when it starts later
};

inline constexpr std::array<MidiServiceInfo, 3> kMidiServices{{
    {MidiService::Automatic, "", "", "Neither the ALSA sequencer (/dev/snd/seq) opens nor a JACK server runs", true},
    {MidiService::Alsa, "alsa", "ALSA", "The ALSA sequencer (/dev/snd/seq) cannot be opened", false},
    {MidiService::Jack, "jack", "JACK", "No JACK server is running", true},
}};

// What the device listing calls the service while none answers.
inline constexpr const char* kNoMidiServiceName = "none";

constexpr const MidiServiceInfo& ServiceInfo(MidiService service) {
    return kMidiServices[static_cast<size_t>(service)];
}

// The service a --midi value asks for, or none for a value that names none.
std::optional<MidiService> MidiServiceNamed(std::string_view option);

// The values --midi takes, for a message: "alsa or jack".
std::string MidiServiceOptions();

// The line to print when no service answered, naming what was looked for
// and that the program runs with no MIDI devices.
std::string NoMidiServiceNote(MidiService wanted);

}  // namespace cadenzo
