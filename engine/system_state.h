// The whole state of the running program, created once by start-up (and
// fresh by every test), with the platform services it talks through.
#pragma once

#include <string>

#include "bank/mix_bank.h"
#include "bank/options_record.h"
#include "engine/drum_queue.h"
#include "engine/performance_state.h"
#include "engine/terca_state.h"
#include "engine/transmission_state.h"
#include "midi/input_state.h"
#include "midi/port_state.h"
#include "ui/grid_selection.h"
#include "ui/keyboard_state.h"
#include "ui/lamps.h"
#include "ui/monitor_state.h"

namespace cadenzo {

class Dialogs;
class Display;
class MidiBackend;

struct Services {
    Dialogs* dialogs = nullptr;  // message boxes
    Display* display = nullptr;  // the main window, once it exists
    MidiBackend* midi = nullptr; // the MIDI service
};

struct SystemState {
    BankState Bank;
    OptionsRecord Options{};     // zero until the options are loaded
    std::string BlendFileName;   // the blend file last loaded; target of the shutdown save
    PortState Ports;
    InputState Input;
    PerformanceState Performance;
    TercaState Terca;
    TransmissionState Transmission;
    DrumOffQueue DrumOff;
    uint8_t ModifierState = 0;   // keys held: bit 0 Shift, bit 1 Ctrl; main thread only
    LampState Lamps;
    GridCursor Grid;             // the parameter grid's selected cell
    KeyboardState Keys;          // the key handlers' modifier state
    MonitorState Monitor;        // the monitor pane's visibility and queued lines
    Services Io;
};

}  // namespace cadenzo
