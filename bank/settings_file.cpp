#include "bank/settings_file.h"

#include <fstream>
#include <string>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kRingAcross = "RingAcrossMixChange=";

}  // namespace

ProgramSettings ReadSettingsFile() {
    ProgramSettings settings;
    std::ifstream file(kSettingsFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == std::string(kRingAcross) + "1") settings.RingAcrossMixChange = 1;
        if (line == std::string(kRingAcross) + "0") settings.RingAcrossMixChange = 0;
    }
    return settings;
}

void SaveSettingsFile(const ProgramSettings& settings, Dialogs& dialogs) {
    const std::string text = std::string(kRingAcross) + (settings.RingAcrossMixChange != 0 ? "1" : "0") + "\n";
    if (!ReplaceFileContent(kSettingsFile, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        dialogs.MessageBox("Error Writing Settings File !", "Bad Write");
}

}  // namespace cadenzo
