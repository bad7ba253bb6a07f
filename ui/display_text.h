// What the main window's labels, gauges and shapes show, as plain values.
// Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/mix_bank.h"
#include "bank/options_record.h"
#include "services/colours.h"
#include "services/display.h"

namespace cadenzo {

inline constexpr int kEffectLevels = 5;  // Hall, Chorus, Delay, Ch->Rev, Del->Rev
inline constexpr uint8_t kLevelMax = 127;

// The mix and effect levels the window shows: the GM set-up in GM mode,
// else the working mix and the options' effect levels.
const Mix& DisplayedMix(const BankState& bank);
const std::array<uint8_t, kEffectLevels>& DisplayedEffectLevels(const BankState& bank, const OptionsRecord& options);

// "GM Mode" in GM mode, else the current program in the chosen numbering.
std::string ProgramLabelText(const BankState& bank, const OptionsRecord& options);
// The copy manager's destination program and channel ("Channel 01"..).
std::string CopyProgramText(const BankState& bank, const OptionsRecord& options);
std::string CopyChannelText(uint8_t channelCopyTarget);
// Behind the program: aqua in GM mode, red when the mix was edited, else silver.
Rgb ProgramShapeColour(const BankState& bank);

// A level's position on a 0..127 bar or gauge (values above 127 stay at 127),
// and an effect gauge's text: the whole percentage of 127 ("50%" for 64).
int BarValue(uint8_t level);
std::string GaugeText(uint8_t level);

std::string DetuneText(uint8_t scaleByte);       // "%+d" of value - 64
std::string PortamentoText(uint8_t portaSpeed);  // "35 ms"
std::string PitchBendText(uint8_t bendRange);    // "2 smt"
std::string MasterVolumeText(uint8_t volume);    // "110"
std::string MasterTransposeText(int32_t semitones);  // "+3", "0", "-5"
// The terca display: " D#harm moll", on red while a scan runs, else silver.
std::string TercaText(TercaShown terca);
Rgb TercaColour(TercaShown terca);

// An equaliser bar in client rows: it grows from the centre line at row 403,
// up for band values above 64 and down for 64 and below (64: one pixel;
// 127 and 0: 33 pixels). Values above 127 draw as 127.
struct BarGeometry {
    int top;
    int height;
    bool operator==(const BarGeometry&) const = default;
};
inline constexpr int kEqCentreRow = 403;
BarGeometry EqBarGeometry(uint8_t v);

}  // namespace cadenzo
