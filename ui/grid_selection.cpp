#include "ui/grid_selection.h"

#include "engine/system_state.h"
#include "engine/output.h"

namespace cadenzo {

std::optional<uint8_t> MoveGridCursor(GridCursor& cursor, bool gmMode, uint8_t gmThruMode, uint8_t column,
                                      uint8_t row) {
    std::optional<uint8_t> left;
    if (gmMode && gmThruMode == kThruSelectedChannel && row != cursor.Row)
        left = static_cast<uint8_t>(cursor.Row - 1);
    cursor.Column = column;
    cursor.Row = row;
    return left;
}

void SelectGridCell(SystemState& s, uint8_t column, uint8_t row) {
    const auto left = MoveGridCursor(s.Grid, s.Bank.GmMode.load(std::memory_order_relaxed), s.Options.GmThruMode,
                                     column, row);
    if (!left) return;
    for (ShortMessage m : SilencingMessages(*left)) SendToSynth(s, m);
}

}  // namespace cadenzo
