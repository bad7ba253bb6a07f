// The parameter grid's selected cell and what moving it does. In GM mode with
// the other input played on the selected channel ("Thru Sel Ch"), leaving a
// row silences the channel that was left. Main thread only.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/grid_cursor.h"

namespace cadenzo {

struct SystemState;

// Moves the cursor to (column, row); returns the channel (0..15) to silence
// when the move leaves a row while GM mode plays the other input on the
// selected channel.
std::optional<uint8_t> MoveGridCursor(GridCursor& cursor, bool gmMode, uint8_t gmThruMode, uint8_t column,
                                      uint8_t row);

// The grid's selection handler: moves the cursor and sends the silencing
// messages to the synthesiser when a row is left in "Thru Sel Ch".
void SelectGridCell(SystemState& s, uint8_t column, uint8_t row);

}  // namespace cadenzo
