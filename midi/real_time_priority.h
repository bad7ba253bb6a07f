// The real-time priorities of the program's own threads. Under a service
// whose own real-time thread plays our input (JACK's process thread), every
// helper thread that thread may wait on (the MIDI engine thread, the glide
// timer, and through the engine lock's priority inheritance the window
// thread) runs below it, or without real-time priority where the service
// has none: a helper above the server would hold up the audio it feeds.
#pragma once

#include <optional>

namespace cadenzo {

// What the playing threads ask for: the MIDI engine thread, and the ALSA
// input thread, which plays what arrives itself.
inline constexpr int kPlayingPriority = 40;
// What the glide timer asks for: the lowest real-time priority.
inline constexpr int kGlidePriority = 1;

// The SCHED_FIFO priority (0: none) for a helper thread that wants
// `wanted`, under a service whose real-time thread that plays our input
// runs at `server` (0: without real-time scheduling); none given: the
// service has no such thread (the ALSA sequencer), and the helper gets
// what it wants.
int HelperPriority(int wanted, std::optional<int> server);

// Gives the calling thread SCHED_FIFO `priority` where the system allows
// it (0: leaves it as it is); whether it did.
bool TakeRealTimePriority(int priority);

// Locks the program's memory, what is mapped now and what is mapped later,
// so that no real-time thread ever waits for a page to come back: 0, or
// why it could not (an errno value). Main thread, at start.
int LockAllMemory();

}  // namespace cadenzo
