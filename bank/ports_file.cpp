#include "bank/ports_file.h"

#include <fstream>
#include <sstream>

#include "bank/file_io.h"
#include "midi/port_names.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void ReadLine(std::string line, PortNames& names) {
    // Written on another system, perhaps converted twice ("\r\r\n"): a
    // name never ends in a carriage return.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string_view key = std::string_view(line).substr(0, equals);
    for (size_t i = 0; i < kPortNames.size(); ++i)
        if (key == kPortNames[i]) names[i] = line.substr(equals + 1);
}

}  // namespace

PortNames ReadPortsFile() {
    PortNames names;
    std::ifstream file(kPortsFile, std::ios::binary);
    std::string line;
    for (bool first = true; std::getline(file, line); first = false) {
        if (first && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        ReadLine(std::move(line), names);
    }
    return names;
}

void SavePortsFile(const std::array<std::string, 6>& devices, Dialogs& dialogs) {
    std::ostringstream text;
    for (size_t i = 0; i < kPortNames.size(); ++i) text << kPortNames[i] << '=' << devices[i] << '\n';
    const std::string bytes = text.str();
    if (!ReplaceFileContent(kPortsFile, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        dialogs.MessageBox("Error Writing Ports File !", "Bad Write");
}

}  // namespace cadenzo
