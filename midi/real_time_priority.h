// The real-time priority of the program's own playing threads (the MIDI
// engine thread, the ALSA input thread): below the priorities JACK gives its
// process threads (70 and up by default), so they never hold up the audio
// that they feed.
#pragma once

namespace cadenzo {

// Gives the calling thread that priority where the system allows it;
// whether it did.
bool TakeRealTimePriority();

}  // namespace cadenzo
