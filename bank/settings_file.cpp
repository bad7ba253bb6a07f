#include "bank/settings_file.h"

#include <charconv>
#include <fstream>
#include <string>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kRingAcross = "RingAcrossMixChange=";
constexpr std::string_view kNextMix = "NextMixController=";
constexpr std::string_view kPreviousMix = "PreviousMixController=";

// "Name=N" with N a controller number 0..127; other values leave `field`.
void ReadController(std::string_view line, std::string_view name, uint8_t& field) {
    if (!line.starts_with(name)) return;
    const std::string_view digits = line.substr(name.size());
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc{} && end == digits.data() + digits.size() && value < 128)
        field = static_cast<uint8_t>(value);
}

// Nothing for none, so a file without footswitches reads as it always did.
std::string ControllerLine(std::string_view name, uint8_t value) {
    return value == 0 ? std::string() : std::string(name) + std::to_string(value) + "\n";
}

}  // namespace

ProgramSettings ReadSettingsFile() {
    ProgramSettings settings;
    std::ifstream file(kSettingsFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == std::string(kRingAcross) + "1") settings.RingAcrossMixChange = 1;
        if (line == std::string(kRingAcross) + "0") settings.RingAcrossMixChange = 0;
        ReadController(line, kNextMix, settings.NextMixController);
        ReadController(line, kPreviousMix, settings.PreviousMixController);
    }
    return settings;
}

void SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs) {
    std::string text = std::string(kRingAcross) + (settings.RingAcrossMixChange != 0 ? "1" : "0") + "\n";
    text += ControllerLine(kNextMix, settings.NextMixController);
    text += ControllerLine(kPreviousMix, settings.PreviousMixController);
    if (!ReplaceFileContent(kSettingsFile, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        dialogs.MessageBox("Error Writing Settings File !", "Bad Write");
}

}  // namespace cadenzo
