// The editing keys of the parameter grid: the value of a cell steps, jumps
// or is set within its column's range, always through the same checks (GM
// mode edits only the output levels, an unassigned layer only its inputs,
// the "E/D" row nothing). Main thread only.
#pragma once

#include <cstdint>

#include "ui/command_flags.h"

namespace cadenzo {

struct SystemState;

// A cell of the grid: column 1..28, row 1..16.
struct GridCell {
    uint8_t column;
    uint8_t row;
};

// Whether the cell's value can be changed now.
bool GridCellEditable(SystemState& s, GridCell cell);

// Insert (up) and Delete: one step on the cell under the cursor.
CommandFlags StepGridCell(SystemState& s, bool up);

// PgUp (up) and PgDn: ten steps, twelve (an octave) on the key-zone and
// transposition columns; the value stops at the end of the range.
CommandFlags PageGridCell(SystemState& s, bool up);

// Home (lowest) and End: the column's lowest or highest value.
CommandFlags EndGridCell(SystemState& s, bool highest);

// The mouse wheel turned over the cell under the cursor: one Insert (up) or
// Delete per notch, each transmitted and refreshed as the key is. Input
// queued before the turn is played first.
void TurnGridCell(SystemState& s, int notches);

// Sets a cell to a value, held to its column's range; a switch column
// takes any non-zero value as On.
CommandFlags SetGridCell(SystemState& s, GridCell cell, uint8_t value);

}  // namespace cadenzo
