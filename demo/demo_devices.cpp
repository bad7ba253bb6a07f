#include "demo/demo_devices.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace cadenzo {

namespace {

bool Holds(const std::string& name, const std::string& part) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    return !std::ranges::search(name, part, {}, lower, lower).empty();
}

template <typename Wanted>
std::string FirstOf(const std::vector<std::string>& names, Wanted wanted) {
    const auto it = std::ranges::find_if(names, wanted);
    return it == names.end() ? "" : *it;
}

}  // namespace

DemoDevices ChooseDemoDevices(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                              const std::string& synth, const std::string& keyboard) {
    DemoDevices d;
    d.synth = FirstOf(outputs, [&](const std::string& n) { return Holds(n, synth); });
    d.keyboard = FirstOf(inputs, [&](const std::string& n) {
        if (!keyboard.empty()) return Holds(n, keyboard);
        return !Holds(n, "through") && !Holds(n, synth) && !Holds(n, "cadenzo");
    });
    return d;
}

std::string UpdatePortsText(const std::string& text,
                            const std::vector<std::pair<std::string, std::string>>& ports) {
    std::istringstream lines(text);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        const std::string port = line.substr(0, line.find('='));
        const bool replaced = std::ranges::any_of(ports, [&](const auto& p) { return p.first == port; });
        if (!replaced) result += line + "\n";
    }
    for (const auto& [port, device] : ports)
        if (!device.empty()) result += port + "=" + device + "\n";
    return result;
}

}  // namespace cadenzo
