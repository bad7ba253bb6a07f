// The whole state of the running program, created once by start-up (and
// fresh by every test), with the platform services it talks through.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "bank/gig_files.h"
#include "bank/mix_bank.h"
#include "bank/options_record.h"
#include "engine/drum_queue.h"
#include "engine/engine_lock.h"
#include "engine/grid_cursor.h"
#include "engine/input_callbacks.h"
#include "engine/lamps.h"
#include "engine/mix_steps.h"
#include "engine/monitor_feed.h"
#include "engine/performance_state.h"
#include "engine/play_to_set.h"
#include "engine/ring_across.h"
#include "engine/terca_state.h"
#include "engine/transmission_state.h"
#include "midi/input_state.h"
#include "midi/midi_backend.h"
#include "midi/port_state.h"

namespace cadenzo {

class Dialogs;
class Display;

// ModifierState bits.
inline constexpr uint32_t kShiftHeld = 1;
inline constexpr uint32_t kCtrlHeld = 2;

struct Services {
    Dialogs* dialogs = nullptr;  // message boxes
    Display* display = nullptr;  // the main window, once it exists
    MidiBackend* midi = nullptr; // the MIDI service
    // What each input of the MIDI service (In1, In2, In3) plays into, with
    // the state as its context: the port manager binds every input it opens
    // to its own callback here.
    std::array<MidiInputCallback, kInputPortCount> inputs{&In1Callback, &In2Callback, &In3Callback};
};

struct SystemState {
    // Held by whoever reads or changes what follows, but for the atomics and
    // queues (see engine/engine_lock.h).
    EngineLock Engine;
    BankState Bank;
    OptionsRecord Options{};     // zero until the options are loaded
    std::string BlendFileName;   // the blend file last loaded; target of the shutdown save
    bool SettingsUnsaved = false;  // main thread: the last save of the options (and ports file) failed
    // Main thread: a session manager keeps the program's files; the blend
    // file that is saved is always the session's own.
    bool UnderSession = false;
    uint8_t EscapeAsksBeforeQuitting = 0;  // main thread: the setting of that name
    PortState Ports;
    InputState Input;
    PerformanceState Performance;
    TercaState Terca;
    TransmissionState Transmission;
    DrumOffQueue DrumOff;
    // Shift and Ctrl held (kShiftHeld, kCtrlHeld), following those keys' own
    // key-down and key-up events only; written by the key handlers, read by
    // the program-change handling.
    std::atomic<uint32_t> ModifierState{0};
    // Rung on any thread when there is something new for the window to
    // show: a lamp lit, a monitor record, a display change made on another
    // thread, a played note for the grid. The window's timers rest between.
    ThreadWake WindowWake;
    LampState Lamps{{}, {}, &WindowWake};
    GridCursor Grid;             // the parameter grid's selected cell
    PlayToSetState PlayToSet;    // a grid cell waiting for a played note
    RingAcrossState RingAcross;  // notes held through a mix change
    MonitorState Monitor;        // the monitor pane's visibility and queued lines
    // The mixes' names and the set list, from the files beside the blend
    // file; the playing path reads the set list's mix numbers.
    MixNames Names;
    SetList Songs;
    FootswitchState Footswitch;  // the next and previous mix controllers
    Services Io;
};

}  // namespace cadenzo
