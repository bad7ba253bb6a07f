#include "engine/remote_control.h"

#include <algorithm>

#include "engine/input_filters.h"
#include "engine/transmission.h"
#include "services/display.h"
#include "services/redraw_mask.h"

namespace cadenzo {

void SelectProgram(SystemState& s, uint32_t program) {
    LoadMix(s.Bank, program);
    TransmitMix(s);
    s.Io.display->RefreshDisplay(RedrawAll);
}

void ProgramSelect(SystemState& s, uint8_t port, uint8_t ch, uint8_t program) {
    const OptionsRecord& o = s.Options;
    if (!PortPasses(o.ProgramSelectPort, port) || !ChannelPasses(o.ProgramSelectChannel, ch)) return;
    // Only the 128 programs; the GM set-up behind them is never selected.
    if (program >= kPrograms) return;
    if (s.ModifierState.load(std::memory_order_relaxed) != (kShiftHeld | kCtrlHeld)) {
        SelectProgram(s, program);
        return;
    }
    StoreMix(s.Bank, program);
    TransmitMix(s);
    s.Io.display->RefreshDisplay(RedrawAll);
}

void MasterVolumeControl(SystemState& s, uint8_t, uint8_t ch, uint8_t value) {
    if (!ChannelPasses(s.Options.MasterVolumeChannel, ch)) return;
    s.Transmission.MasterVolume = std::min<uint8_t>(value, 127);
    SendMasterVolume(s);
}

}  // namespace cadenzo
