// Play to set, from the window's side: Enter arms the grid cell under the
// cursor, and the next note-on played on In1 or In2 sets it like the editing
// keys would: "KL" and "KH" take the note, "VL" and "VH" the velocity, "Trs"
// the interval from middle C. Main thread, holding the engine lock.
#pragma once

#include <optional>
#include <string>

#include "ui/command_flags.h"
#include "ui/grid_keys.h"

namespace cadenzo {

struct SystemState;

// Enter: arms the cell under the cursor when a note can set it now; pressed
// again before a note came, disarms it. Never transmits.
CommandFlags PlayToSetKey(SystemState& s);

// Any other key but Shift and Ctrl: the armed cell waits no more.
void CancelPlayToSet(SystemState& s);

// The cell waiting for a note, if one is.
std::optional<GridCell> ArmedGridCell(const SystemState& s);

// What the grid's caption says while a cell waits for a note.
std::string PlayToSetStatus(GridCell cell);

// The window's screen tick: the note that answered, if one did, sets the
// armed cell, then the mix is transmitted and the row refreshed.
void ApplyPlayedNote(SystemState& s);

}  // namespace cadenzo
