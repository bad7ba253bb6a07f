#include "midi/alsa/receiver_room.h"

#include <cstring>

#include <sound/asequencer.h>
#include <sys/ioctl.h>

namespace cadenzo {

// The sequencer answers this request about any client, though the ALSA
// library asks it only about the caller.
std::optional<int> ReceiverRoom(int fd, int client) {
    snd_seq_client_pool pool;
    std::memset(&pool, 0, sizeof pool);
    pool.client = client;
    if (fd < 0 || ::ioctl(fd, SNDRV_SEQ_IOCTL_GET_CLIENT_POOL, &pool) < 0 || pool.input_pool <= 0) return std::nullopt;
    return pool.input_free;
}

}  // namespace cadenzo
