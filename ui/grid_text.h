// The parameter grid's texts: the column headers and the 28 value cells of
// each channel row. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/mix_bank.h"
#include "bank/options_record.h"

namespace cadenzo {

inline constexpr int kGridColumns = 28;  // value columns 1..28; column 0 holds the row labels

// How a cell turns its byte into text.
enum class CellFormat : uint8_t {
    Channel,    // input channel filter: "---", "Ch1".."C16", "All"
    Number,     // "%u"
    Pan,        // "<C>", "<%u" left, "%u>" right
    Transpose,  // "%+d" of value - 64
    Tune,       // "%+d" of value - 128
    OnOff,      // "On" when non-zero, else "Off"
    Mode,       // voice mode name "PL", "MN", "ML", "MP"
    Velocity,   // "On" (as played) for 0, else the fixed velocity
};

struct GridColumn {
    const char* header;
    uint8_t byte;  // offset in the channel record
    CellFormat format;
};

// Columns 1..28 in grid order, which is not the record's byte order.
inline constexpr std::array<GridColumn, kGridColumns> kGridColumnTable{{
    {"In1", 0, CellFormat::Channel},   {"In2", 1, CellFormat::Channel},   {"Lsb", 2, CellFormat::Number},
    {"Msb", 3, CellFormat::Number},    {"PG", 4, CellFormat::Number},     {"Vol", 5, CellFormat::Number},
    {"Pan", 6, CellFormat::Pan},       {"KL", 7, CellFormat::Number},     {"KH", 8, CellFormat::Number},
    {"VL", 9, CellFormat::Number},     {"VH", 10, CellFormat::Number},    {"Trs", 11, CellFormat::Transpose},
    {"Tun", 23, CellFormat::Tune},     {"Rev", 12, CellFormat::Number},   {"Chr", 13, CellFormat::Number},
    {"Del", 14, CellFormat::Number},   {"Us1", 15, CellFormat::Number},   {"Us2", 16, CellFormat::Number},
    {"Us3", 17, CellFormat::Number},   {"Us4", 18, CellFormat::Number},   {"AT", 19, CellFormat::OnOff},
    {"MD", 24, CellFormat::Mode},      {"Dyn", 26, CellFormat::Velocity}, {"Scl", 25, CellFormat::OnOff},
    {"Trc", 27, CellFormat::OnOff},    {"1:2", 20, CellFormat::Number},   {"3:4", 21, CellFormat::Number},
    {"5:6", 22, CellFormat::Number},
}};

// An input channel filter: 0 "---", 17 "All", otherwise the channel as
// "Ch1".."Ch9", "C10".."C16" (bytes above 17 read on as "C18"...). Also the
// grid's row labels, channel c + 1 on row c + 1.
std::string ChannelText(uint8_t v);

// One value cell of a channel record in the given format. Safe for any byte.
std::string CellText(CellFormat format, uint8_t v);

// The 28 value cells of grid row c + 1 (c = 0..15), column k + 1 at index k:
// the GM view in GM mode, "E/D" on the external drum channel, "---" after the
// inputs of a layer that listens to neither input, else the working mix.
std::array<std::string, kGridColumns> GridRowTexts(const BankState& bank, const OptionsRecord& options, int c);

}  // namespace cadenzo
