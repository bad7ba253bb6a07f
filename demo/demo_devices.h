// Which devices the demo wires the program to, found by name, and the port
// names file that names them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cadenzo {

struct DemoDevices {
    std::string synth;     // the synthesiser's MIDI input, for SynthOut; "" when none matched
    std::string keyboard;  // the player's keyboard, for In1; "" when none was found
};

// The first output whose name holds `synth` (in any case). The first input
// whose name holds `keyboard` or, when that is empty, the first input that
// is none of a through port, the synthesiser's own and the program's own.
DemoDevices ChooseDemoDevices(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                              const std::string& synth, const std::string& keyboard);

// The port names file ("Port=device name" lines) with each of `ports` set
// to its device, or taken out where the device is ""; other lines are kept.
std::string UpdatePortsText(const std::string& text,
                            const std::vector<std::pair<std::string, std::string>>& ports);

}  // namespace cadenzo
