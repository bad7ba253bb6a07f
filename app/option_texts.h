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

// A key of the program's window, or a group of keys, and what it does.
struct KeyText {
    const char* keys;
    const char* description;
};

// Every key the program has, in the order --help and the manual page list them.
inline constexpr std::array kKeyTexts{
    KeyText{"Arrow keys", "Move in the grid."},
    KeyText{"Insert, Delete", "Step the value under the cursor up, down."},
    KeyText{"PgUp, PgDn", "Ten steps up, down (an octave on KL, KH and Trs)."},
    KeyText{"Home, End", "The value's lowest, highest."},
    KeyText{"Enter", "Play to set: the next note played sets the cell under the cursor (KL, KH, VL, VH, Trs); "
                     "Enter again or any other key cancels."},
    KeyText{"Ctrl+Z", "Undo the last edits of the mix, one a press (up to 32 since the mix was loaded or stored)."},
    KeyText{"1 to 5, Q to T", "Effect levels up, down."},
    KeyText{"Shift, Ctrl, Shift+Ctrl with 1 to 0, Q to P",
            "Equaliser bands of outputs 1:2, 3:4, 5:6 up, down; with ` all of them neutral."},
    KeyText{"0, P", "The next, the previous mix."},
    KeyText{"', ;", "The next, the previous entry of the set list (without one, the next, the previous mix); "
                    "so do the footswitch controllers chosen in the setup dialog."},
    KeyText{"`", "Load the mix again, losing its edits."},
    KeyText{"A S D F G H J, Z X C V B N M",
            "Keyboard scale of C D E F G A B up, down (with Shift their sharps); / makes it neutral."},
    KeyText{"Shift+, Shift+.", "Portamento time down, up."},
    KeyText{"Ctrl+, Ctrl+.", "Pitch-bend range down, up."},
    KeyText{"K, L (keypad -, +)", "Master volume down, up."},
    KeyText{"F7, F8, F9", "Transpose down, up, back to none."},
    KeyText{"Backspace", "Store the mix (a program change played while Shift and Ctrl are held stores too); "
                         "Shift+Backspace stores it as the copy target, Ctrl+Backspace copies the channel. "
                         "Every store writes the blend file at once."},
    KeyText{"-, [ and =, ]", "Program copy target, channel copy target up, down."},
    KeyText{"\\", "Start or cancel the terca scan."},
    KeyText{"Space", "Silence everything and send the mix again."},
    KeyText{"F2", "Open the setup dialog (close it with Esc or F2)."},
    KeyText{"F3", "Show the MIDI monitor."},
    KeyText{"F4", "Turn General MIDI mode on or off."},
    KeyText{"F5, F6", "Load, save a blend file."},
    KeyText{"F10", "Open or close the set-list window: Insert adds the current mix, Delete removes an entry, "
                   "Shift+Up/Down move it, Enter goes to it, T gives it a song title."},
    KeyText{"F11", "Show the zone map."},
    KeyText{"F12", "Open or close the performance view; the playing keys work there, Esc closes it."},
    KeyText{"Ctrl+N", "Name the current mix (up to 32 characters)."},
    KeyText{"Esc", "End the run: the ports are closed and the bank is written back (with \"Escape asks before "
                   "quitting\" set in the setup dialog, after a yes)."},
};

// The files --help names; the manual page tells each in full.
inline constexpr const char* kFilesText =
    "Files, in the program's folder: Ostinata.opt (settings), Ostinata.ports (devices by name), "
    "Cadenzo.settings (this program's own settings), def.cdb (the bank), and beside the blend file "
    "<blend>.names (mix names) and <blend>.setlist (the set list).";

}  // namespace cadenzo
