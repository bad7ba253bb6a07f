// Sending the working mix, the master volume and the master transposition
// to the synthesiser and the DSP control port. Main thread only.
#pragma once

#include "engine/system_state.h"

namespace cadenzo {

// The levels at which output pairs 3:4 and 5:6 are mixed into 1:2.
void SendOutputMix(SystemState& s);

// The whole working mix (in GM mode the GM set-up). Outside GM mode notes
// are cut only on channels whose zone, input, mode or terca setting changed
// since the last transmission. With EffectSendsToSynth on, each layer's
// reverb and chorus sends also go to the synthesiser as controllers 91 and
// 93, in the place the control port gets them.
void TransmitMix(SystemState& s);

// Shows MasterVolume and sends it to the control port; with
// EffectSendsToSynth on, also to the synthesiser as General MIDI's master
// volume.
void SendMasterVolume(SystemState& s);

// Shows MasterTranspose and ends the notes of every channel.
void ApplyMasterTranspose(SystemState& s);

// What start-up sends once the ports are open: the output mixing, the whole
// working mix, the master volume and the master transposition.
void SendStartUpSet(SystemState& s);

// The same set for a synthesiser and/or DSP that may have lost all it was
// sent (its device was unplugged, or switched off): each gets its own part
// of it, the synthesiser's as if the mix had never been sent; the other
// output gets nothing, so the notes it sounds play on.
void ResendStartUpSet(SystemState& s, bool toSynth, bool toControl);

// Silences every synthesiser channel and centres its controllers and bend;
// every mono layer forgets the keys it held.
void ResetAllChannels(SystemState& s);

}  // namespace cadenzo
