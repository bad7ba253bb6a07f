#include "ui/grid_text.h"

#include <algorithm>

#include "ui/text_format.h"

namespace cadenzo {

namespace {

constexpr int kInputColumns = 2;  // "In1" and "In2" lead every row
constexpr int kOut12Column = 25;  // index of column 26 "1:2"; "3:4" and "5:6" follow

// What the inputs' columns show in GM mode on the input that is not the GM input.
const char* GmThruText(uint8_t thruMode) {
    switch (thruMode) {
    case 1: return "Ch";
    case 2: return "Thr";
    default: return "---";
    }
}

uint8_t ByteAt(const ChannelRecord& record, uint8_t offset) {
    return reinterpret_cast<const uint8_t*>(&record)[offset];
}

}  // namespace

std::string ChannelText(uint8_t v) {
    if (v == 0) return "---";
    if (v == 17) return "All";
    return Printf("%s%u", v < 10 ? "Ch" : "C", unsigned{v});
}

std::string CellText(CellFormat format, uint8_t v) {
    static constexpr const char* kModeNames[] = {"PL", "MN", "ML", "MP"};
    switch (format) {
    case CellFormat::Channel: return ChannelText(v);
    case CellFormat::Pan:
        if (v == 64) return "<C>";
        return v > 64 ? Printf("%u>", v - 64u) : Printf("<%u", 64u - v);
    case CellFormat::Transpose: return Printf("%+d", v - 64);
    case CellFormat::Tune: return Printf("%+d", v - 128);
    case CellFormat::OnOff: return v != 0 ? "On" : "Off";
    case CellFormat::Mode: return v < std::size(kModeNames) ? kModeNames[v] : Printf("%u", unsigned{v});
    case CellFormat::Velocity: return v == 0 ? "On" : Printf("%u", unsigned{v});
    case CellFormat::Number: break;
    }
    return Printf("%u", unsigned{v});
}

std::array<std::string, kGridColumns> GridRowTexts(const BankState& bank, const OptionsRecord& options, int c) {
    std::array<std::string, kGridColumns> texts;
    if (bank.GmMode.load(std::memory_order_relaxed)) {
        const char* thru = GmThruText(options.GmThruMode);
        texts[0] = options.GmPort == 0 ? "GM" : thru;
        texts[1] = options.GmPort == 1 ? "GM" : thru;
        const ChannelRecord& gm = bank.Bank.Slots[kGmSlot].Channels[c];
        for (int k = kOut12Column; k < kGridColumns; ++k)
            texts[k] = CellText(CellFormat::Number, ByteAt(gm, kGridColumnTable[k].byte));
        return texts;
    }
    if (options.UseDrumMode != 0 && c == options.DrumOutChannel) {
        texts.fill("E/D");
        return texts;
    }
    const ChannelRecord& record = bank.WorkingMix.Channels[c];
    const bool active = record.In1Channel != 0 || record.In2Channel != 0;
    for (int k = 0; k < kGridColumns; ++k) {
        const GridColumn& column = kGridColumnTable[k];
        texts[k] = active || k < kInputColumns ? CellText(column.format, ByteAt(record, column.byte)) : "---";
    }
    return texts;
}

}  // namespace cadenzo
