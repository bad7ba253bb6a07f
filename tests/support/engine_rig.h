// A whole program state on virtual MIDI devices, for engine tests: the bank
// at its defaults, the options at theirs, In1/In2 and the three outputs
// open, and what was sent readable per output.
#pragma once

#include <vector>

#include <gtest/gtest.h>

#include <poll.h>

#include "bank/options_file.h"
#include "engine/device_follow.h"
#include "engine/dispatcher.h"
#include "engine/input_callbacks.h"
#include "engine/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "support/recorders.h"

namespace cadenzo::test {

// Input devices 0..2 feed In1, In2, In3; output devices 0..2 are SynthOut,
// ThruOut and ControlOut.
class EngineRig {
public:
    EngineRig() {
        s.Io.dialogs = &dialogs;
        s.Io.display = &display;
        s.Io.midi = &midi;
        InitBankDefaults(s.Bank);
        ApplyOptionDefaults(s.Options);
        EnumerateMidiDevices(s);
        SelectIn1Port(s, 1);
        SelectIn2Port(s, 2);
        SelectIn3Port(s, 3);
        SelectSynthOutPort(s, 1);
        SelectThruOutPort(s, 2);
        SelectControlOutPort(s, 3);
        LoadMix(s.Bank, 0);
        ReleaseDispatch(s.Input);  // as the running message loop does
    }
    ~EngineRig() { CloseAllPorts(s); }

    // Plays a message into In1 (port 1) or In2 (port 2) and lets the engine
    // thread's hand-off dispatch it.
    void Play(int port, ShortMessage m) {
        midi.Feed(static_cast<uint32_t>(port - 1), m);
        Dispatch();
    }
    void Dispatch() {
        s.Input.Wake.Acknowledge();
        HandOff(s);
    }

    // What the program does when the back end signals that devices changed:
    // the ports follow their devices, then the engine thread takes what that
    // queued. Returns whether the back end had signalled.
    // `now` is the time the program looks.
    bool FollowDevices(std::chrono::steady_clock::time_point now = {}) {
        pollfd fd{midi.DeviceChanges().Fd(), POLLIN, 0};
        const bool signalled = ::poll(&fd, 1, 0) == 1;
        midi.DeviceChanges().Acknowledge();
        FollowDeviceChanges(s, now);
        Dispatch();
        return signalled;
    }

    std::vector<ShortMessage> Synth() const { return midi.Sent(0); }
    std::vector<ShortMessage> Thru() const { return midi.Sent(1); }
    std::vector<ShortMessage> Control() const { return midi.Sent(2); }
    void ClearSent() { midi.ClearSent(); }

    VirtualMidiBackend midi{{"Keys 1", "Keys 2", "Thru In"}, {"Synth", "Thru Out", "Control"}};
    RecordingDialogs dialogs;
    RecordingDisplay display;
    SystemState s;
};

}  // namespace cadenzo::test
