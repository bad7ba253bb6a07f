// The private JACK server with_jack.sh started, stopped and started again
// under the same name, as a stage's MIDI server may be. Every JACK client of
// the test process must be closed while the server is down.
#pragma once

namespace cadenzo::test {

// SIGTERM to the running server, then waits until its process has gone.
bool StopJackServer();
// Starts the server again from the same command line; the new server is the
// one with_jack.sh stops at the end. It answers a moment later: wait for it
// by opening the clients the test needs, not by a client opened and closed
// to look, since libjack may then miss that client's end in the program and
// later signal a stale semaphore in its place.
bool StartJackServer();

}  // namespace cadenzo::test
