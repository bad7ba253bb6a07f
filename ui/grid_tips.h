// The parameter grid's tool tips: each column header's parameter in full
// with its range, and for the cells whose number says little (key zones,
// transposition, sound, voice mode) what the value stands for. The cells'
// own texts stay as they are. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/mix_bank.h"
#include "bank/options_record.h"
#include "ui/grid_text.h"

namespace cadenzo {

// A MIDI note's name with middle C (60) as "C4": "C-1" for 0, "G9" for 127.
std::string NoteName(uint8_t note);

// The tool tip of column k + 1's header (k = 0..27).
std::string ColumnTip(int k);

// The tool tips of grid row c + 1, column k + 1 at index k; empty where the
// cell has none (every cell of a row that shows no values of its own).
std::array<std::string, kGridColumns> GridRowTips(const BankState& bank, const OptionsRecord& options, int c);

}  // namespace cadenzo
