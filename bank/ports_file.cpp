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
constexpr std::string_view kClientPortKey = ".ClientPort";

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

// A number written in decimal digits; nothing for anything else.
std::optional<uint32_t> ReadNumber(std::string_view text) {
    uint32_t number = 0;
    if (text.empty()) return std::nullopt;
    for (const char c : text) {
        if (c < '0' || c > '9' || number > 999'999) return std::nullopt;
        number = number * 10 + static_cast<uint32_t>(c - '0');
    }
    return number;
}

// Whether `key` is port `port`'s name followed by `suffix`.
bool PortKey(std::string_view key, std::string_view port, std::string_view suffix) {
    return key.size() == port.size() + suffix.size() && SameKey(key.substr(0, port.size()), port) &&
           SameKey(key.substr(port.size()), suffix);
}

// Returns whether the line was understood: a port's line, a port's order or
// client's port number, a blank line or a note starting with '#'.
bool ReadLine(std::string_view line, PortNames& names, PortOrders& orders, PortClientPorts& clientPorts) {
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
        if (PortKey(key, port, kOrderKey)) {
            orders[i] = ReadNumber(value).value_or(0);
            return orders[i] != 0;
        }
        if (PortKey(key, port, kClientPortKey)) {
            clientPorts[i] = ReadNumber(value);
            return clientPorts[i].has_value();
        }
    }
    return false;
}

}  // namespace

PortNames ReadPortsFile(std::ostream& report, PortOrders* orders, PortClientPorts* clientPorts) {
    PortNames names;
    PortOrders read{};
    PortClientPorts readPorts{};
    std::ifstream file(kPortsFile, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        if (!ReadLine(line, names, read, readPorts))
            report << kPortsFile << ", line " << number << ", not understood and ignored: " << Trimmed(line) << '\n';
    }
    if (orders) *orders = read;
    if (clientPorts) *clientPorts = readPorts;
    return names;
}

bool SavePortsFile(const PerPort<std::string>& devices, Dialogs& dialogs, const PortOrders& orders,
                   const PortClientPorts& clientPorts) {
    std::ostringstream text;
    for (size_t i = 0; i < kPortNames.size(); ++i) {
        text << kPortNames[i] << '=' << devices[i] << '\n';
        if (devices[i].empty()) continue;
        if (orders[i] > 1) text << kPortNames[i] << kOrderKey << '=' << orders[i] << '\n';
        if (clientPorts[i]) text << kPortNames[i] << kClientPortKey << '=' << *clientPorts[i] << '\n';
    }
    const std::string bytes = text.str();
    if (ReplaceFileContent(kPortsFile, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return true;
    dialogs.MessageBox("Error Writing Ports File !", "Bad Write");
    return false;
}

}  // namespace cadenzo
