// A whole program state on virtual MIDI devices for the fuzz targets, wired
// as the engine tests wire theirs: In1, In2, In3 and the three outputs open,
// the dispatch released as in the running message loop. Outputs do not
// record; each is watched as it sends (see output_watch.h).
#pragma once

#include <array>
#include <cstdint>

#include "bank/options_file.h"
#include "engine/dispatcher.h"
#include "fuzz/output_watch.h"
#include "engine/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "support/recorders.h"

namespace cadenzo::fuzz {

inline constexpr uint32_t kSynthOut = 0;
inline constexpr uint32_t kThruOut = 1;
inline constexpr uint32_t kControlOut = 2;

class FuzzRig {
public:
    // `options` replaces the defaults before any port opens.
    explicit FuzzRig(const OptionsRecord* options = nullptr) {
        s.Io.dialogs = &dialogs;
        s.Io.display = &display;
        s.Io.midi = &midi;
        midi.SetRecording(false);
        for (uint32_t out = 0; out < watches.size(); ++out) midi.SetOutputTap(out, OutputWatch::Tap, &watches[out]);
        InitBankDefaults(s.Bank);
        if (options != nullptr)
            s.Options = *options;
        else
            ApplyOptionDefaults(s.Options);
        EnumerateMidiDevices(s);
        SelectIn1Port(s, 1);
        SelectIn2Port(s, 2);
        SelectIn3Port(s, 3);
        SelectSynthOutPort(s, 1);
        SelectThruOutPort(s, 2);
        SelectControlOutPort(s, 3);
        LoadMix(s.Bank, 0);
        ReleaseDispatch(s.Input);
    }
    ~FuzzRig() { CloseAllPorts(s); }
    FuzzRig(const FuzzRig&) = delete;
    FuzzRig& operator=(const FuzzRig&) = delete;

    // A message from input device 0..2 (In1, In2, In3). The engine is free,
    // so the input callback plays it at once: nothing is left queued.
    void Play(uint32_t input, ShortMessage m) {
        midi.Feed(input, m);
        Require(s.Input.Queue.Empty(), "input waits in the queue although the engine is free");
    }

    VirtualMidiBackend midi{{"Keys 1", "Keys 2", "Thru In"}, {"Synth", "Thru Out", "Control"}};
    std::array<OutputWatch, 3> watches;  // SynthOut, ThruOut, ControlOut
    test::RecordingDialogs dialogs;
    test::SilentDisplay display;
    SystemState s;
};

}  // namespace cadenzo::fuzz
