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
constexpr std::string_view kOrderKey = ".Order";

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

// An order from 1 up, written in decimal digits; 0 for anything else.
uint32_t ReadOrder(std::string_view text) {
    uint32_t order = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || order > 999'999) return 0;
        order = order * 10 + static_cast<uint32_t>(c - '0');
    }
    return order;
}

// Returns whether the line was understood: a port's line, a port's order,
// a blank line or a note starting with '#'.
bool ReadLine(std::string_view line, PortNames& names, PortOrders& orders) {
    if (Trimmed(line).empty() || Trimmed(line).front() == '#') return true;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view key = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    for (size_t i = 0; i < kPortNames.size(); ++i) {
        const std::string_view port = kPortNames[i];
        if (SameKey(key, port)) {
            names[i] = std::string(value);
            return true;
        }
        if (key.size() == port.size() + kOrderKey.size() && SameKey(key.substr(0, port.size()), port) &&
            SameKey(key.substr(port.size()), kOrderKey)) {
            orders[i] = ReadOrder(value);
            return orders[i] != 0;
        }
    }
    return false;
}

}  // namespace

PortNames ReadPortsFile(std::ostream& report, PortOrders* orders) {
    PortNames names;
    PortOrders read{};
    std::ifstream file(kPortsFile, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        if (!ReadLine(line, names, read))
            report << kPortsFile << ", line " << number << ", not understood and ignored: " << Trimmed(line) << '\n';
    }
    if (orders) *orders = read;
    return names;
}

bool SavePortsFile(const PerPort<std::string>& devices, Dialogs& dialogs, const PortOrders& orders) {
    std::ostringstream text;
    for (size_t i = 0; i < kPortNames.size(); ++i) {
        text << kPortNames[i] << '=' << devices[i] << '\n';
        if (orders[i] > 1 && !devices[i].empty()) text << kPortNames[i] << kOrderKey << '=' << orders[i] << '\n';
    }
    const std::string bytes = text.str();
    if (ReplaceFileContent(kPortsFile, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return true;
    dialogs.MessageBox("Error Writing Ports File !", "Bad Write");
    return false;
}

}  // namespace cadenzo
