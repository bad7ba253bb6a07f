#include "engine/dispatcher.h"

#include "ui/monitor.h"

namespace cadenzo {

void DispatchInput(SystemState& s, uint32_t messageId) {
    if (ReadShared(s.Options.MonitorSource) == 9) MonitorWindowMessage(s, messageId);
    if (messageId != kHandOffMessage) return;
    // Entries pushed while this runs are taken in the same pass.
    uint32_t entry = 0;
    while (s.Input.Queue.Pop(entry)) ProcessInputEntry(s, entry);
}

void ProcessInputEntry(SystemState&, uint32_t) {}

}  // namespace cadenzo
