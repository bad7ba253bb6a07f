#include "midi/port_manager.h"

namespace cadenzo {

void EnumerateMidiDevices(SystemState&) {}
void FreeDeviceLists(SystemState&) {}
void OpenAllPorts(SystemState&) {}
void CloseAllPorts(SystemState&) {}

}  // namespace cadenzo
