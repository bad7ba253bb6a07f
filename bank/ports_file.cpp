#include "bank/ports_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "bank/file_io.h"
#include "midi/port_names.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Returns whether the line was understood: a port's line, a blank line or a
// note starting with '#'.
bool ReadLine(std::string_view line, PortNames& names) {
    if (Trimmed(line).empty() || Trimmed(line).front() == '#') return true;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view key = Trimmed(line.substr(0, equals));
    for (size_t i = 0; i < kPortNames.size(); ++i) {
        if (!SameKey(key, kPortNames[i])) continue;
        names[i] = std::string(Trimmed(line.substr(equals + 1)));
        return true;
    }
    return false;
}

}  // namespace

PortNames ReadPortsFile(std::ostream& report) {
    PortNames names;
    std::ifstream file(kPortsFile, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        if (!ReadLine(line, names))
            report << kPortsFile << ", line " << number << ", not understood and ignored: " << Trimmed(line) << '\n';
    }
    return names;
}

bool SavePortsFile(const std::array<std::string, 6>& devices, Dialogs& dialogs) {
    std::ostringstream text;
    for (size_t i = 0; i < kPortNames.size(); ++i) text << kPortNames[i] << '=' << devices[i] << '\n';
    const std::string bytes = text.str();
    if (ReplaceFileContent(kPortsFile, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return true;
    dialogs.MessageBox("Error Writing Ports File !", "Bad Write");
    return false;
}

}  // namespace cadenzo
