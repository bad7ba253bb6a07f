// The words of the command line: the program's description and each
// option's names, value and text. --help and the manual page, which the
// build writes from these, say the same thing because they read the same
// words. Plain data, without Qt, so the manual-page writer needs no more.
#pragma once

#include <array>

namespace cadenzo {

struct OptionText {
    const char* shortName;    // "h", or nullptr when the option has only its long name
    const char* longName;     // "help": what the parser asks for
    const char* valueName;    // "DIR" for an option that takes a value, nullptr for a switch
    const char* description;  // one paragraph
};

inline constexpr const char* kProgramDescription =
    "A live-performance MIDI controller: one or two MIDI keyboards played\n"
    "through a bank of mixes into a synthesiser.";

inline constexpr OptionText kHelpOption{"h", "help", nullptr, "Show this help and stop."};
inline constexpr OptionText kVersionOption{"v", "version", nullptr, "Show the version and stop."};
inline constexpr OptionText kDirOption{
    nullptr, "dir", "DIR",
    "Keep the settings (Ostinata.opt), the port names (Ostinata.ports) and the bank (def.cdb) in DIR, "
    "made when missing; a leading ~/ stands for the home folder. Default: the current folder. "
    "The mix names (def.names) and the set list (def.setlist) go beside the bank."};
inline constexpr OptionText kMidiOption{
    nullptr, "midi", "alsa|jack",
    "Use only this MIDI service: alsa or jack. Default: the ALSA sequencer when "
    "/dev/snd/seq opens, else JACK (a server that starts later is taken up)."};

inline constexpr OptionText kListDevicesOption{
    nullptr, "list-devices", nullptr,
    "Print the MIDI inputs and outputs with their numbers and the names Ostinata.ports takes, and stop."};

// In the order --help and the manual page list them.
inline constexpr std::array kOptionTexts{&kHelpOption, &kVersionOption, &kDirOption, &kMidiOption, &kListDevicesOption};

}  // namespace cadenzo
