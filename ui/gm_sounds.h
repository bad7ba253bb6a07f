// The 128 General MIDI instrument names, by program number 0..127.
#pragma once

#include <cstdint>

namespace cadenzo {

const char* GmInstrumentName(uint8_t program);

}  // namespace cadenzo
