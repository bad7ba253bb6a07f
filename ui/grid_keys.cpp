#include "ui/grid_keys.h"

#include <array>

#include "engine/system_state.h"
#include "ui/key_steps.h"

namespace cadenzo {

namespace {

// The grid's columns 1..28 in the channel record: which byte, its highest
// value, and whether the column is an on/off switch.
struct GridColumn {
    uint8_t byte;
    uint8_t max;
    bool isSwitch;
};

constexpr std::array<GridColumn, 28> kColumns{{
    {0, 17, false},   {1, 17, false},   {2, 127, false},  {3, 127, false},  {4, 127, false},  {5, 127, false},
    {6, 127, false},  {7, 127, false},  {8, 127, false},  {9, 127, false},  {10, 127, false}, {11, 127, false},
    {23, 255, false}, {12, 127, false}, {13, 127, false}, {14, 127, false}, {15, 127, false}, {16, 127, false},
    {17, 127, false}, {18, 127, false}, {19, 1, true},    {24, 3, false},   {26, 127, false}, {25, 1, true},
    {27, 1, true},    {20, 127, false}, {21, 127, false}, {22, 127, false},
}};

constexpr uint8_t kFirstOutputColumn = 26;  // "1:2", "3:4", "5:6": the only columns GM mode edits

uint8_t& RecordByte(ChannelRecord& record, uint8_t byte) { return reinterpret_cast<uint8_t*>(&record)[byte]; }

bool Step(uint8_t& value, const GridColumn& column, bool up) {
    if (!column.isSwitch) return up ? StepUp(value, column.max) : StepDown(value, 0);
    if (up == (value != 0)) return false;  // a switch only sets 1 from 0, or 0 from anything else
    value = up ? 1 : 0;
    return true;
}

}  // namespace

GridKeyResult StepGridCell(SystemState& s, bool up) {
    const uint8_t columnNumber = s.Grid.Column;
    const uint8_t row = s.Grid.Row;
    if (columnNumber < 1 || columnNumber > kColumns.size() || row < 1 || row > kChannels) return {};
    const int c = row - 1;
    const GridColumn& column = kColumns[columnNumber - 1];
    const uint32_t mask = 1u << c;

    if (s.Bank.GmMode.load()) {
        if (columnNumber < kFirstOutputColumn) return {};
        uint8_t& value = RecordByte(s.Bank.Bank.Slots[kGmSlot].Channels[c], column.byte);
        return {Step(value, column, up), false, mask};
    }
    ChannelRecord& record = s.Bank.WorkingMix.Channels[c];
    const bool unassigned = record.In1Channel == 0 && record.In2Channel == 0;
    if (unassigned && columnNumber > 2) return {};
    if (s.Options.UseDrumMode != 0 && c == s.Options.DrumOutChannel) return {};
    const bool changed = Step(RecordByte(record, column.byte), column, up);
    return {changed, changed, mask};
}

}  // namespace cadenzo
