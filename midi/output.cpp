#include "midi/output.h"

namespace cadenzo {

void SendToSynth(SystemState&, ShortMessage) {}
void SendToControl(SystemState&, ShortMessage) {}

}  // namespace cadenzo
