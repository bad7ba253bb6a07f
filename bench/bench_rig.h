// A whole program state for benchmarks: the bank and options at their
// defaults, mix 0 in the working mix with all sixteen layers taking every
// channel of both inputs, and synthesiser and control outputs on virtual
// devices that only count what they receive.
#pragma once

#include <memory>

#include "bank/options_file.h"
#include "engine/port_manager.h"
#include "midi/virtual/virtual_backend.h"
#include "services/dialogs.h"

namespace cadenzo::bench {

class SilentDialogs final : public Dialogs {
public:
    void MessageBox(const std::string&, const std::string&, MessageIcon) override {}
};

struct BenchRig {
    BenchRig() {
        s->Io.dialogs = &dialogs;
        s->Io.midi = &midi;
        InitBankDefaults(s->Bank);
        ApplyOptionDefaults(s->Options);
        EnumerateMidiDevices(*s);
        SelectSynthOutPort(*s, 1);
        SelectControlOutPort(*s, 2);
        LoadMix(s->Bank, 0);
        for (ChannelRecord& layer : s->Bank.WorkingMix.Channels) layer.In1Channel = layer.In2Channel = 17;
        midi.SetRecording(false);
        ReleaseDispatch(s->Input);  // as the running message loop does
    }
    ~BenchRig() { CloseAllPorts(*s); }

    VirtualMidiBackend midi{{"Keys 1", "Keys 2"}, {"Synth", "Control"}};
    SilentDialogs dialogs;
    std::unique_ptr<SystemState> s = std::make_unique<SystemState>();
};

}  // namespace cadenzo::bench
