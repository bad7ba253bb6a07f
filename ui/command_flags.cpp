#include "ui/command_flags.h"

#include "engine/system_state.h"
#include "engine/transmission.h"
#include "services/display.h"

namespace cadenzo {

void FinishCommand(SystemState& s, const CommandFlags& flags) {
    if (flags.modified && !s.Bank.GmMode.load()) {
        s.Bank.MixModified = true;
        NoteEdit(s.Bank);
    }
    if (!flags.transmit) return;
    TransmitMix(s);
    s.Io.display->RefreshDisplay(flags.mask);
}

}  // namespace cadenzo
