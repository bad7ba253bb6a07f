// Insert and Delete on the parameter grid: the value under the cursor steps
// up or down within its column's range. Main thread only.
#pragma once

#include <cstdint>

namespace cadenzo {

struct SystemState;

struct GridKeyResult {
    bool changed = false;   // the byte moved: transmit and repaint its row
    bool modified = false;  // the working mix was edited (never in GM mode)
    uint32_t mask = 0;      // the grid row of the channel
};

// Insert (up = true) or Delete on the cell under the grid cursor.
GridKeyResult StepGridCell(SystemState& s, bool up);

}  // namespace cadenzo
