// The bank the demo starts from, so that a player hears something at once:
// the first five mixes play everything from In1 on General MIDI sounds.
#pragma once

#include "bank/mix_records.h"

namespace cadenzo {

// Mix 1 a grand piano; mix 2 piano and strings; mix 3 a bass below middle C
// (an octave down) and the piano from middle C up; mix 4 organ and choir;
// mix 5 electric piano over a warm pad. The piano has a little reverb, the
// strings, choir and pad more, the organ chorus. Every other mix stays as
// `bank` holds it.
void MakeDemoMixes(MixBank& bank);

}  // namespace cadenzo
