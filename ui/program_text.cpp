#include "ui/program_text.h"

#include <cstdio>

namespace cadenzo {

std::string ProgramText(uint8_t p, uint32_t mode) {
    char text[24];
    const unsigned n = p;
    switch (mode) {
    case 1:
        std::snprintf(text, sizeof text, "MIX %03u", n + 1);
        break;
    case 2:
        std::snprintf(text, sizeof text, "%s %c %c-%u", n >= 64 ? "Mlt" : "Sngl",
                      (n >= 32 && n <= 63) ? 'i' : 'I', static_cast<char>('A' + (n % 32) / 8),
                      n % 8 + 1);
        break;
    case 3:
        std::snprintf(text, sizeof text, "MIX %c%02u", n <= 63 ? 'A' : 'B',
                      (n % 64) / 8 * 10 + n % 8 + 11);
        break;
    default:
        std::snprintf(text, sizeof text, "MIX %03u", n);
        break;
    }
    return text;
}

}  // namespace cadenzo
