// The command line, read before any window opens: a bad argument ends the
// run with a message and status 2 and shows nothing on the screen.
#pragma once

#include <optional>
#include <string>

#include <QStringList>

#include "midi/midi_service.h"

namespace cadenzo {

inline constexpr int kBadCommandLineStatus = 2;

// What the command line asks of a run.
struct StartOptions {
    std::optional<std::string> dir;            // --dir: the program's folder; none: the current folder
    MidiService midi = MidiService::Automatic;  // --midi alsa|jack
};

struct CommandLine {
    enum class Outcome {
        Run,      // start the program with `options`
        Help,     // print `text` and stop
        Version,  // print `text` and stop
        ListDevices,  // print the devices of the MIDI service `options.midi` names, and stop
        Error,    // `text` says what is wrong; stop with kBadCommandLineStatus
    };
    Outcome outcome = Outcome::Run;
    StartOptions options;
    std::string text;
};

// `arguments` as the process received them, the program's own name first.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace cadenzo
