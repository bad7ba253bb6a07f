// A mix number as the display shows it, in the four numbering styles.
#pragma once

#include <cstdint>
#include <string>

namespace cadenzo {

// mode: 0 "MIX 000".."MIX 127", 1 "MIX 001".."MIX 128", 2 the single/multi
// bank scheme "Sngl I A-1".., 3 the bank-letter scheme "MIX A11".."MIX B88";
// any other mode shows as 0.
std::string ProgramText(uint8_t p, uint32_t mode);

}  // namespace cadenzo
