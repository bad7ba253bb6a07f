#include "ui/display_text.h"

#include <algorithm>

#include "engine/terca.h"
#include "engine/terca_tables.h"
#include "ui/program_text.h"
#include "ui/text_format.h"

namespace cadenzo {

namespace {

bool InGmMode(const BankState& bank) { return bank.GmMode.load(std::memory_order_relaxed); }

uint32_t DisplayMode(const OptionsRecord& options) { return ReadU32(options.ProgramDisplayMode); }

}  // namespace

const Mix& DisplayedMix(const BankState& bank) { return InGmMode(bank) ? bank.Bank.Slots[kGmSlot] : bank.WorkingMix; }

const std::array<uint8_t, kEffectLevels>& DisplayedEffectLevels(const BankState& bank, const OptionsRecord& options) {
    return InGmMode(bank) ? options.GmEffectLevels : options.EffectLevels;
}

std::string ProgramLabelText(const BankState& bank, const OptionsRecord& options) {
    if (InGmMode(bank)) return "GM Mode";
    return ProgramText(static_cast<uint8_t>(bank.CurrentProgram), DisplayMode(options));
}

std::string CopyProgramText(const BankState& bank, const OptionsRecord& options) {
    return ProgramText(bank.ProgramCopyTarget, DisplayMode(options));
}

std::string CopyChannelText(uint8_t channelCopyTarget) { return Printf("Channel %02u", channelCopyTarget + 1u); }

Rgb ProgramShapeColour(const BankState& bank) {
    if (InGmMode(bank)) return kAqua;
    return bank.MixModified ? kRed : kSilver;
}

int BarValue(uint8_t level) { return std::min(level, kLevelMax); }

std::string GaugeText(uint8_t level) { return Printf("%d%%", BarValue(level) * 100 / kLevelMax); }

std::string DetuneText(uint8_t scaleByte) { return Printf("%+d", scaleByte - 64); }

std::string PortamentoText(uint8_t portaSpeed) { return Printf("%u ms", unsigned{portaSpeed}); }

std::string PitchBendText(uint8_t bendRange) { return Printf("%u smt", unsigned{bendRange}); }

std::string MasterVolumeText(uint8_t volume) { return Printf("%u", unsigned{volume}); }

std::string MasterTransposeText(int32_t semitones) { return Printf(semitones > 0 ? "+%d" : "%d", semitones); }

std::string TercaText(TercaShown terca) {
    return Printf(" %s%s", kTercRootNames[terca.root % kPitchClasses],
                  kTercScaleNames[terca.scaleType % kTercScaleTypes]);
}

Rgb TercaColour(TercaShown terca) { return terca.scanning ? kTercaScanColour : kTercaIdleColour; }

BarGeometry EqBarGeometry(uint8_t v) {
    const int value = std::min(v, kLevelMax);
    if (value > 64) return {kEqCentreRow - (value - 63) / 2, (value - 63) / 2 + 1};
    return {kEqCentreRow, (65 - value) / 2 + 1};
}

}  // namespace cadenzo
