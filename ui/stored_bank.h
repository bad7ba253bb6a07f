// A stored mix is on disk at once: after every store the window thread
// writes the bank to the file the exit write would choose, replacing it in
// one step, with the engine lock let go while the file is written. A store
// played through MIDI (on an input callback or the MIDI engine thread) is
// written at the window's next screen tick; one made by a key when the key's
// command has ended. Main thread, holding the engine lock.
#pragma once

namespace cadenzo {

struct SystemState;

// Writes the bank if a store has marked it; a failure shows its box.
void WriteStoredBank(SystemState& s);

}  // namespace cadenzo
