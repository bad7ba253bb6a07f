#include "ui/grid_keys.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/dispatcher.h"
#include "engine/system_state.h"

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
constexpr int kPageStep = 10;
constexpr int kOctaveStep = 12;
constexpr std::array<uint8_t, 3> kOctaveColumns{8, 9, 12};  // "KL", "KH", "Trs"

uint8_t& RecordByte(ChannelRecord& record, uint8_t byte) { return reinterpret_cast<uint8_t*>(&record)[byte]; }

// The byte behind a cell, or nullptr where the cell cannot be edited now.
uint8_t* EditableByte(SystemState& s, GridCell cell) {
    if (cell.column < 1 || cell.column > kColumns.size() || cell.row < 1 || cell.row > kChannels) return nullptr;
    const int c = cell.row - 1;
    const uint8_t byte = kColumns[cell.column - 1].byte;
    if (s.Bank.GmMode.load()) {
        if (cell.column < kFirstOutputColumn) return nullptr;
        return &RecordByte(s.Bank.Bank.Slots[kGmSlot].Channels[c], byte);
    }
    ChannelRecord& record = s.Bank.WorkingMix.Channels[c];
    const bool unassigned = record.In1Channel == 0 && record.In2Channel == 0;
    if (unassigned && cell.column > 2) return nullptr;
    if (s.Options.UseDrumMode != 0 && c == s.Options.DrumOutChannel) return nullptr;
    return &RecordByte(record, byte);
}

// A switch only sets 1 from 0, or 0 from anything else; a value moves by
// `steps` and never beyond its range, and not at all from beyond its end.
uint8_t Stepped(uint8_t value, const GridColumn& column, int steps) {
    const bool up = steps > 0;
    if (column.isSwitch) return up == (value != 0) ? value : uint8_t{up};
    if (up ? value >= column.max : value == 0) return value;
    return static_cast<uint8_t>(std::clamp(value + steps, 0, int{column.max}));
}

template <typename NewValue>
CommandFlags ChangeCell(SystemState& s, GridCell cell, NewValue newValue) {
    uint8_t* value = EditableByte(s, cell);
    if (!value) return {false, false, 0};
    const uint8_t next = newValue(*value, kColumns[cell.column - 1]);
    if (next == *value) return {false, false, 0};
    *value = next;
    return {true, !s.Bank.GmMode.load(), 1u << (cell.row - 1)};
}

GridCell Cursor(const SystemState& s) { return {s.Grid.Column, s.Grid.Row}; }

CommandFlags StepCursorCell(SystemState& s, int steps) {
    return ChangeCell(s, Cursor(s), [steps](uint8_t v, const GridColumn& column) { return Stepped(v, column, steps); });
}

}  // namespace

bool GridCellEditable(SystemState& s, GridCell cell) { return EditableByte(s, cell) != nullptr; }

CommandFlags StepGridCell(SystemState& s, bool up) { return StepCursorCell(s, up ? 1 : -1); }

CommandFlags PageGridCell(SystemState& s, bool up) {
    const bool octave = std::ranges::find(kOctaveColumns, s.Grid.Column) != kOctaveColumns.end();
    const int step = octave ? kOctaveStep : kPageStep;
    return StepCursorCell(s, up ? step : -step);
}

CommandFlags EndGridCell(SystemState& s, bool highest) {
    return ChangeCell(s, Cursor(s), [highest](uint8_t, const GridColumn& column) {
        return highest ? column.max : uint8_t{0};
    });
}

void TurnGridCell(SystemState& s, int notches) {
    DispatchPending(s);
    for (int n = 0; n < std::abs(notches); ++n) FinishCommand(s, StepGridCell(s, notches > 0));
}

CommandFlags SetGridCell(SystemState& s, GridCell cell, uint8_t value) {
    return ChangeCell(s, cell, [value](uint8_t, const GridColumn& column) {
        return column.isSwitch ? uint8_t{value != 0} : std::min(value, column.max);
    });
}

}  // namespace cadenzo
