#include "ui/monitor.h"

namespace cadenzo {

void MonitorShortMessage(SystemState&, ShortMessage) {}
void MonitorWindowMessage(SystemState&, uint32_t) {}

}  // namespace cadenzo
