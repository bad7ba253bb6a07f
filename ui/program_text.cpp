#include "ui/program_text.h"

#include "ui/text_format.h"

namespace cadenzo {

std::string ProgramText(uint8_t p, uint32_t mode) {
    const unsigned n = p;
    switch (mode) {
    case 1:
        return Printf("MIX %03u", n + 1);
    case 2:
        return Printf("%s %c %c-%u", n >= 64 ? "Mlt" : "Sngl", (n >= 32 && n <= 63) ? 'i' : 'I',
                      static_cast<char>('A' + (n % 32) / 8), n % 8 + 1);
    case 3:
        return Printf("MIX %c%02u", n <= 63 ? 'A' : 'B', (n % 64) / 8 * 10 + n % 8 + 11);
    default:
        return Printf("MIX %03u", n);
    }
}

}  // namespace cadenzo
