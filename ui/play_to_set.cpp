#include "ui/play_to_set.h"

#include <algorithm>

#include "engine/system_state.h"
#include "ui/grid_text.h"

namespace cadenzo {

namespace {

// The key-zone, velocity-zone and transposition columns, side by side.
constexpr uint8_t kKeyLowColumn = 8;
constexpr uint8_t kKeyHighColumn = 9;
constexpr uint8_t kVelocityHighColumn = 11;
constexpr uint8_t kTransposeColumn = 12;
constexpr int kMiddleC = 60;
constexpr int kNoTranspose = 64;

bool PlayableColumn(uint8_t column) {
    return (column >= kKeyLowColumn && column <= kVelocityHighColumn) || column == kTransposeColumn;
}

uint8_t PlayedValue(uint8_t column, uint8_t note, uint8_t velocity) {
    if (column == kKeyLowColumn || column == kKeyHighColumn) return note;
    if (column == kTransposeColumn) return static_cast<uint8_t>(std::clamp(kNoTranspose + note - kMiddleC, 0, 127));
    return velocity;
}

}  // namespace

CommandFlags PlayToSetKey(SystemState& s) {
    const GridCell cell{s.Grid.Column, s.Grid.Row};
    const bool armable = PlayableColumn(cell.column) && GridCellEditable(s, cell);
    const uint16_t armed = s.PlayToSet.ArmedCell.load(std::memory_order_relaxed);
    const uint16_t wanted = static_cast<uint16_t>(cell.column << 8 | cell.row);
    s.PlayToSet.ArmedCell.store(armable && armed != wanted ? wanted : 0, std::memory_order_release);
    return {false, false, 0};
}

void CancelPlayToSet(SystemState& s) { s.PlayToSet.ArmedCell.store(0, std::memory_order_release); }

std::optional<GridCell> ArmedGridCell(const SystemState& s) {
    const uint16_t armed = s.PlayToSet.ArmedCell.load(std::memory_order_acquire);
    if (armed == 0) return std::nullopt;
    return GridCell{static_cast<uint8_t>(armed >> 8), static_cast<uint8_t>(armed)};
}

std::string PlayToSetStatus(GridCell cell) {
    return std::string("Play a note to set ") + kGridColumnTable[cell.column - 1].header + " of " +
           ChannelText(cell.row) + " (any other key cancels)";
}

void ApplyPlayedNote(SystemState& s) {
    const uint32_t answer = s.PlayToSet.Answer.exchange(0, std::memory_order_acquire);
    if (answer == 0) return;
    const GridCell cell{static_cast<uint8_t>(answer >> 24), static_cast<uint8_t>(answer >> 16)};
    const auto note = static_cast<uint8_t>(answer >> 8);
    const auto velocity = static_cast<uint8_t>(answer);
    FinishCommand(s, SetGridCell(s, cell, PlayedValue(cell.column, note, velocity)));
}

}  // namespace cadenzo
