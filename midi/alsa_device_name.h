// The name an ALSA sequencer port keeps when its device is plugged in again.
#pragma once

#include <string>

namespace cadenzo {

// RtMidi lists a sequencer port as "client:port 20:0"; the trailing numeric
// "client:port" address changes when the device is plugged in again, so the
// name without it is the one to remember. A name without such an ending is
// kept as it is.
std::string AlsaDeviceName(const std::string& listed);

}  // namespace cadenzo
