#include "app/device_listing.h"

#include <vector>

#include "bank/ports_file.h"

namespace cadenzo {

namespace {

void ListSection(std::string& text, const char* heading, const std::vector<std::string>& names) {
    text += heading;
    if (names.empty()) text += "  (none)\n";
    for (size_t i = 0; i < names.size(); ++i) text += "  " + std::to_string(i + 1) + "  " + names[i] + "\n";
}

}  // namespace

std::string DeviceListing(MidiBackend& midi) {
    const std::vector<std::string> inputs = midi.InputNames();
    const std::vector<std::string> outputs = midi.OutputNames();
    std::string text = "MIDI service: " + midi.ServiceName() + "\n";
    ListSection(text, "Inputs (In1, In2, In3):\n", inputs);
    ListSection(text, "Outputs (SynthOut, ThruOut, ControlOut):\n", outputs);
    text += std::string("The number is the device's place in the setup dialog's lists. ") + kPortsFile +
            " names a port's device by name, one line per port: ";
    text += inputs.empty() ? "In1=<name>" : "In1=" + inputs.front();
    text += "\n";
    return text;
}

}  // namespace cadenzo
