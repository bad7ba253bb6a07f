// The program as one client "Cadenzo" of the ALSA sequencer, with the
// program's six ports ("In1" .. "ControlOut", others may subscribe to them)
// and a seventh, hidden one that only the program itself subscribes to the
// system's announce port. The client receives only the MIDI events the
// program plays and the announcements: the sequencer drops everything else
// (system exclusive of any length) before it is read.
//
// One handle serves three kinds of thread: the main thread makes its
// service calls (listing, subscribing; each its own request to the kernel),
// the input thread alone reads events, and senders write fixed-length
// events directly. None of these touches the library's buffered output,
// and only the input thread its input buffer, so they may run at once.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include <alsa/asoundlib.h>

#include "midi/port_names.h"

namespace cadenzo {

class SequencerClient {
public:
    // Whether the sequencer opens.
    static bool Opens();

    // Opens the client called `name` with its ports; Handle() is null when
    // the sequencer does not open.
    explicit SequencerClient(const std::string& name = kDefaultClientName);
    ~SequencerClient();
    SequencerClient(const SequencerClient&) = delete;
    SequencerClient& operator=(const SequencerClient&) = delete;

    // The playing handle, null when the sequencer does not open.
    snd_seq_t* Handle() const { return seq_; }
    // The handle for service calls, open whenever the playing one is.
    snd_seq_t* Service() const { return service_; }
    // The address of the program's port `index` (in kPortNames order).
    snd_seq_addr_t Address(size_t index) const;
    // Which of the program's ports (in kPortNames order) sits at sequencer
    // port number `port`: none for the hidden announce port.
    std::optional<size_t> PortAt(int port) const;

private:
    bool Build(const std::string& name);
    void Close();

    snd_seq_t* seq_ = nullptr;
    snd_seq_t* service_ = nullptr;
    std::array<int, kPortNames.size()> ports_{};
};

}  // namespace cadenzo
