#include "bank/settings_file.h"

#include <charconv>
#include <fstream>
#include <string_view>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

// Each setting's name in the file, where it is kept and its highest value.
struct SettingLine {
    std::string_view name;
    uint8_t ProgramSettings::*field;
    unsigned max;
    bool alwaysWritten;
};

constexpr SettingLine kSettingLines[] = {
    {"RingAcrossMixChange", &ProgramSettings::RingAcrossMixChange, 1, true},
    {"NextMixController", &ProgramSettings::NextMixController, 127, false},
    {"PreviousMixController", &ProgramSettings::PreviousMixController, 127, false},
    {"EscapeAsksBeforeQuitting", &ProgramSettings::EscapeAsksBeforeQuitting, 1, false},
    {"EffectSendsToSynth", &ProgramSettings::EffectSendsToSynth, 1, false},
};

// "Name=N" with N in the setting's range sets it; any other line leaves it.
void ReadLine(std::string_view line, ProgramSettings& settings) {
    for (const SettingLine& setting : kSettingLines) {
        if (line.size() <= setting.name.size() || !line.starts_with(setting.name) ||
            line[setting.name.size()] != '=')
            continue;
        const std::string_view digits = line.substr(setting.name.size() + 1);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc{} && end == digits.data() + digits.size() && value <= setting.max)
            settings.*setting.field = static_cast<uint8_t>(value);
    }
}

}  // namespace

ProgramSettings ReadSettingsFile() {
    ProgramSettings settings;
    std::ifstream file(kSettingsFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ReadLine(line, settings);
    }
    return settings;
}

std::string SettingsFileText(const ProgramSettings& settings) {
    std::string text;
    for (const SettingLine& setting : kSettingLines) {
        const uint8_t value = settings.*setting.field;
        if (value != 0 || setting.alwaysWritten)
            text += std::string(setting.name) + "=" + std::to_string(value) + "\n";
    }
    return text;
}

bool SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs) {
    const std::string text = SettingsFileText(settings);
    if (ReplaceFileContent(kSettingsFile, reinterpret_cast<const uint8_t*>(text.data()), text.size())) return true;
    dialogs.MessageBox("Error Writing Settings File !", "Bad Write");
    return false;
}

}  // namespace cadenzo
