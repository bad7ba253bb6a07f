// The colours of the modifier indicators: which boxes and captions show that
// Shift, Ctrl or both select another set of keys.
#pragma once

#include <array>
#include <cstdint>

#include "engine/system_state.h"
#include "services/colours.h"

namespace cadenzo {

inline constexpr Rgb kIndicatorRed{255, 0, 0};
inline constexpr Rgb kIndicatorBlue{0, 0, 255};
inline constexpr Rgb kIndicatorGrey{128, 128, 128};
inline constexpr Rgb kIndicatorBlack{0, 0, 0};

struct ModifierIndicators {
    Rgb programCopyBox;               // Shape3
    Rgb channelCopyBox;               // Shape4
    Rgb copyCaption;                  // Label18
    std::array<Rgb, 3> eqCaptions;    // Label14, Label15, Label4
    Rgb scaleSharps;                  // Shape18..Shape22
    Rgb portamentoCaption;            // Label1
    Rgb pitchBendCaption;             // Label30
};

inline ModifierIndicators IndicatorsFor(uint32_t modifiers, bool gmMode) {
    const auto pick = [](bool on, Rgb lit, Rgb dark) { return on ? lit : dark; };
    const bool shift = modifiers == kShiftHeld;
    const bool ctrl = modifiers == kCtrlHeld;
    const bool both = modifiers == (kShiftHeld | kCtrlHeld);
    return {
        pick(!gmMode && shift, kIndicatorRed, kIndicatorGrey),
        pick(!gmMode && ctrl, kIndicatorRed, kIndicatorGrey),
        pick(!gmMode && (shift || ctrl), kIndicatorBlue, kIndicatorBlack),
        {pick(shift, kIndicatorBlue, kIndicatorBlack), pick(ctrl, kIndicatorBlue, kIndicatorBlack),
         pick(both, kIndicatorBlue, kIndicatorBlack)},
        pick(shift, kIndicatorBlue, kIndicatorGrey),
        pick(shift, kIndicatorBlue, kIndicatorBlack),
        pick(ctrl, kIndicatorBlue, kIndicatorBlack),
    };
}

}  // namespace cadenzo
