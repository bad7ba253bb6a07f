// How many more events another client of the sequencer can queue before it
// reads, for senders that pace a burst toward it: direct delivery past a
// full queue is refused, and the receiver's next read then loses everything
// it had queued. Any thread but the input thread (it is a system call).
#pragma once

#include <optional>

namespace cadenzo {

// The free room of client `client`'s input queue, asked through the
// sequencer descriptor `fd`; nothing for a client without one (a kernel
// client, such as a USB port, takes what it is sent at once) or when the
// sequencer does not say.
std::optional<int> ReceiverRoom(int fd, int client);

}  // namespace cadenzo
