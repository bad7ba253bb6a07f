#include "ui/grid_tips.h"

#include <cstdlib>

#include "ui/gm_sounds.h"
#include "ui/text_format.h"

namespace cadenzo {

namespace {

constexpr std::array<const char*, kGridColumns> kColumnTips{
    "Input 1 channel this layer plays: --- none, Ch1..C16, All",
    "Input 2 channel this layer plays: --- none, Ch1..C16, All",
    "Bank select sent with controller 0: 0..127",
    "Bank select sent with controller 32: 0..127",
    "Program (the sound): 0..127",
    "Volume (controller 7): 0..127",
    "Pan (controller 10): <64 left .. <C> centre .. 63> right",
    "Key zone, lowest key: 0..127 (C-1..G9, C4 = 60); above the highest key: a split zone",
    "Key zone, highest key: 0..127 (C-1..G9, C4 = 60); below the lowest key: a split zone",
    "Velocity zone, lowest velocity: 0..127",
    "Velocity zone, highest velocity: 0..127; below the lowest: a split zone",
    "Transposition in semitones: -64..+63",
    "Fine tune: -128..+127",
    "Reverb send: 0..127",
    "Chorus send: 0..127",
    "Delay send: 0..127",
    "User controller 1 (its number is set in the setup dialog): 0..127",
    "User controller 2 (its number is set in the setup dialog): 0..127",
    "User controller 3 (its number is set in the setup dialog): 0..127",
    "User controller 4 (its number is set in the setup dialog): 0..127",
    "Aftertouch bends the pitch up: Off, On",
    "Voice mode: PL polyphonic, MN mono, ML mono legato, MP mono portamento",
    "Velocity: On (as played) or a fixed 1..127",
    "Keyboard scale detune: Off, On",
    "Terca mode, a parallel third: Off, On",
    "Level into output pair 1:2: 0..127",
    "Level into output pair 3:4: 0..127",
    "Level into output pair 5:6: 0..127",
};

constexpr int kKeyLow = 7;  // indices of the columns with tips of their own
constexpr int kKeyHigh = 8;
constexpr int kTranspose = 11;
constexpr int kProgram = 4;
constexpr int kMode = 21;

constexpr std::array<const char*, 12> kIntervals{
    "unison",        "minor second", "major second", "minor third", "major third", "perfect fourth",
    "tritone",       "perfect fifth", "minor sixth", "major sixth", "minor seventh", "major seventh",
};

constexpr std::array<const char*, 4> kModes{
    "polyphonic",
    "monophonic, a new note for every key",
    "monophonic legato: later keys bend the sounding note",
    "monophonic portamento: later keys glide the sounding note",
};

std::string IntervalText(int semitones) {
    if (semitones == 0) return "no transposition";
    const int size = std::abs(semitones);
    std::string text = Printf("%+d semitones: ", semitones);
    if (size >= 12) text += Printf("%d octave%s", size / 12, size >= 24 ? "s" : "");
    if (size >= 12 && size % 12 != 0) text += " and a ";
    if (size < 12) text += "a ";
    if (size % 12 != 0) text += kIntervals[size % 12];
    return text + (semitones > 0 ? " up" : " down");
}

std::string ZoneText(uint8_t low, uint8_t high) {
    if (high >= low) return "zone " + NoteName(low) + ".." + NoteName(high) + Printf(", %d keys", high - low + 1);
    std::string below = high > 0 ? NoteName(0) + ".." + NoteName(static_cast<uint8_t>(high - 1)) + " and " : "";
    return "split zone: " + below + NoteName(low) + ".." + NoteName(127);
}

}  // namespace

std::string NoteName(uint8_t note) {
    static constexpr const char* kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return Printf("%s%d", kNames[note % 12], note / 12 - 1);
}

std::string ColumnTip(int k) { return kColumnTips[k]; }

std::array<std::string, kGridColumns> GridRowTips(const BankState& bank, const OptionsRecord& options, int c) {
    std::array<std::string, kGridColumns> tips;
    const ChannelRecord& r = bank.WorkingMix.Channels[c];
    const bool shown = !bank.GmMode.load(std::memory_order_relaxed) &&
                       !(options.UseDrumMode != 0 && c == options.DrumOutChannel) &&
                       (r.In1Channel != 0 || r.In2Channel != 0);
    if (!shown) return tips;
    const std::string zone = ZoneText(r.KL, r.KH);
    tips[kKeyLow] = NoteName(r.KL) + Printf(" = %u; ", unsigned{r.KL}) + zone;
    tips[kKeyHigh] = NoteName(r.KH) + Printf(" = %u; ", unsigned{r.KH}) + zone;
    tips[kTranspose] = IntervalText(r.Trs - 64);
    tips[kProgram] = Printf("%s (bank Lsb %u, Msb %u)", GmInstrumentName(r.PG), unsigned{r.Lsb}, unsigned{r.Msb});
    if (r.MD < kModes.size()) tips[kMode] = CellText(CellFormat::Mode, r.MD) + ": " + kModes[r.MD];
    return tips;
}

}  // namespace cadenzo
