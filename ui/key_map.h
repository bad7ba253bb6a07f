// The computer-keyboard command map: what each key does to the working mix,
// the options and the run-time state, by virtual-key code and ModifierState.
// Main thread, holding the engine lock. MIDI input queued before the key
// reached the program is dispatched first, so the two keep their order
// (a program change played while Shift and Ctrl were held still stores).
#pragma once

#include <cstdint>

namespace cadenzo {

struct SystemState;

// What the key map asks of the main window.
class KeyWindow {
public:
    virtual ~KeyWindow() = default;
    // Repaints the modifier indicators from ModifierState and GmMode.
    virtual void ShowModifierIndicators() = 0;
    // F2: the setup dialog, modal; returns when it has closed.
    virtual void OpenSetupDialog() = 0;
    // F3: places the monitor pane, toggles it and empties it.
    virtual void ToggleMonitorPane() = 0;
    // Escape: closes the main window, which ends the program (after a yes
    // when the setting "Escape asks before quitting" is on).
    virtual void CloseMainWindow() = 0;
    // F11: opens or closes the zone map.
    virtual void ToggleZoneMap() = 0;
    // Ctrl+N: the name editor for the current mix (or the GM set-up), modal.
    virtual void OpenNameEditor() = 0;
    // F10: opens or closes the set-list window.
    virtual void ToggleSetList() = 0;
    // F12: opens or closes the performance view.
    virtual void TogglePerformanceView() = 0;
};

// A key pressed (every repeat is a new press): runs its command, marks the
// mix modified, transmits and refreshes as the command asks, then adds the
// key monitor's line; a store it made is written to the blend file.
void KeyDown(SystemState& s, KeyWindow& window, uint16_t key);

// A key released: clears the Shift or Ctrl bit, repaints the indicators and
// adds the key monitor's line.
void KeyUp(SystemState& s, KeyWindow& window, uint16_t key);

}  // namespace cadenzo
