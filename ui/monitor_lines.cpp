#include "ui/monitor_lines.h"

#include <cstring>

#include "midi/port_names.h"
#include "ui/text_format.h"

namespace cadenzo {

namespace {

const char* PortName(uint8_t port) { return port < kPortNames.size() ? kPortNames[port] : "?"; }

}  // namespace

std::string ShortMessageLine(ShortMessage m) {
    const unsigned status = m & 0xFF;
    const unsigned d1 = (m >> 8) & 0xFF;
    const unsigned d2 = (m >> 16) & 0xFF;
    const unsigned ch = (status & 0x0F) + 1;
    switch (status < 0x80 ? 0 : status & 0xF0) {
    case 0x80:
        return Printf("Note OFF Ch:%02u %03u %03u", ch, d1, d2);
    case 0x90:
        return Printf(d2 > 0 ? "Note ON   Ch:%02u %03u %03u" : "Note ON** Ch:%02u %03u %03u", ch, d1, d2);
    case 0xA0:
        return Printf("Poly AT  Ch:%02u %03u %03u", ch, d1, d2);
    case 0xB0:
        return Printf("Controll Ch:%02u %03u %03u", ch, d1, d2);
    case 0xC0:
        return Printf("Program  Ch:%02u %03u", ch, d1);
    case 0xD0:
        return Printf("After TO Ch:%02u %03u %03u", ch, d1, d2);
    case 0xE0:
        return Printf("Pitch B  Ch:%02u %03u %03u", ch, d1, d2);
    default:
        return Printf("SB:0x%02X  D1:%03u  D2:%03u", status, d1, d2);
    }
}

bool IsChannelVoiceLine(const std::string& line) { return line.empty() || line[0] != 'S'; }

std::string KeyLine(uint16_t key, uint32_t flags) { return Printf("Key: %03d,  Flags: 0x%02X", key, flags); }

std::string WindowMessageLine(uint32_t id) { return Printf("Message num: %05u - 0x%04X", id, id); }

std::string LostInputLine(uint32_t lost) { return Printf("Input queue full: %u messages lost", lost); }

std::string LostOutputLine(uint8_t port, uint64_t lost) {
    return Printf("Output queue full on %s: %llu messages lost", PortName(port), static_cast<unsigned long long>(lost));
}

std::string MemoryNotLockedLine(int error) { return "Memory not locked: " + std::string(std::strerror(error)); }

std::string DeviceLine(uint8_t port, bool back) {
    return Printf(back ? "Device back: %s" : "Device lost: %s", PortName(port));
}

std::string DeviceByNumberLine(uint8_t port, uint32_t number) {
    return Printf("Device not found by name: %s opened port %u of the same client", PortName(port), number);
}

std::string SessionRefusalLine(SessionRefusal why) {
    switch (why) {
    case SessionRefusal::Malformed:
        return "Session: malformed message dropped";
    case SessionRefusal::Foreign:
        return "Session: message not from the session manager ignored";
    case SessionRefusal::Unknown:
        break;
    }
    return "Session: unknown message ignored";
}

}  // namespace cadenzo
