#include "bank/settings_file.h"

#include <fstream>
#include <string_view>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

// Each setting's name in the file, and where it is kept.
struct SettingLine {
    std::string_view name;
    uint8_t ProgramSettings::*field;
};

constexpr SettingLine kSettingLines[] = {
    {"RingAcrossMixChange", &ProgramSettings::RingAcrossMixChange},
    {"EffectSendsToSynth", &ProgramSettings::EffectSendsToSynth},
};

}  // namespace

ProgramSettings ReadSettingsFile() {
    ProgramSettings settings;
    std::ifstream file(kSettingsFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (const SettingLine& setting : kSettingLines) {
            const std::string name = std::string(setting.name) + "=";
            if (line == name + "1") settings.*setting.field = 1;
            if (line == name + "0") settings.*setting.field = 0;
        }
    }
    return settings;
}

std::string SettingsFileText(const ProgramSettings& settings) {
    std::string text;
    for (const SettingLine& setting : kSettingLines)
        text += std::string(setting.name) + "=" + (settings.*setting.field != 0 ? "1" : "0") + "\n";
    return text;
}

void SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs) {
    const std::string text = SettingsFileText(settings);
    if (!ReplaceFileContent(kSettingsFile, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        dialogs.MessageBox("Error Writing Settings File !", "Bad Write");
}

}  // namespace cadenzo
