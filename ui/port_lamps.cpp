#include "ui/port_lamps.h"

#include "engine/system_state.h"
#include "midi/port_names.h"
#include "ui/setup_texts.h"

namespace cadenzo {

// The port lamps' order is the ports' order: In1, In2, In3, SynthOut,
// ThruOut, ControlOut.
static_assert(ShapeIn1 == 0 && ShapeIn3 == 2 && ShapeOut1 == 3 && ShapeOut2 == 4 && ShapeOut3 == 5);

LampLook LookOfLamp(const SystemState& s, Lamp lamp) {
    if (lamp < ShapeCh1) {
        const auto port = kAllPorts[lamp];
        const std::string& device = s.Ports.RememberedDevices[lamp];
        if (!device.empty() && s.Ports.OpenNumber(port) == 0)
            return {kAbsentLamp, std::string(kPortNames[lamp]) + ": " + AbsentDeviceItem(device)};
    }
    return {s.Lamps.Lit[lamp].load(std::memory_order_relaxed) ? kYellow : kSilver, {}};
}

}  // namespace cadenzo
