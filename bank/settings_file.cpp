#include "bank/settings_file.h"

#include <fstream>
#include <string>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kRingAcross = "RingAcrossMixChange=";
constexpr std::string_view kEscapeAsks = "EscapeAsksBeforeQuitting=";

// A "Name=0" or "Name=1" line sets the switch; any other leaves it.
void ReadSwitch(const std::string& line, std::string_view name, uint8_t& value) {
    if (line.size() != name.size() + 1 || !line.starts_with(name)) return;
    if (line.back() == '0' || line.back() == '1') value = line.back() == '1' ? 1 : 0;
}

std::string SwitchLine(std::string_view name, uint8_t value) {
    return std::string(name) + (value != 0 ? "1" : "0") + "\n";
}

}  // namespace

ProgramSettings ReadSettingsFile() {
    ProgramSettings settings;
    std::ifstream file(kSettingsFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ReadSwitch(line, kRingAcross, settings.RingAcrossMixChange);
        ReadSwitch(line, kEscapeAsks, settings.EscapeAsksBeforeQuitting);
    }
    return settings;
}

void SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs) {
    const std::string text = SwitchLine(kRingAcross, settings.RingAcrossMixChange) +
                             SwitchLine(kEscapeAsks, settings.EscapeAsksBeforeQuitting);
    if (!ReplaceFileContent(kSettingsFile, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        dialogs.MessageBox("Error Writing Settings File !", "Bad Write");
}

}  // namespace cadenzo
