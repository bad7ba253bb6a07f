// The real MIDI back end on RtMidi: the ALSA sequencer where it can be
// opened, else a running JACK server, else no devices at all; or only the
// service asked for, and no devices when that one does not answer. Every open
// port is its own client ("Cadenzo <port>") with one port named after the
// program's port ("In1", "SynthOut", ...). Main thread only, except the
// handles' Send (serialised by the caller) and the input callbacks.
#pragma once

#include <string>
#include <vector>

#include <RtMidi.h>

#include "midi/midi_backend.h"
#include "midi/midi_service.h"

namespace cadenzo {

class RtMidiBackend final : public MidiBackend {
public:
    explicit RtMidiBackend(MidiService wanted = MidiService::Automatic);

    // Which MIDI service was found: "ALSA", "JACK" or "none".
    std::string ServiceName() const;

    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    uint32_t OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback, void* context,
                       std::unique_ptr<MidiInputPort>& handle) override;
    uint32_t StartInput(MidiInputPort& port) override;
    uint32_t CloseInput(std::unique_ptr<MidiInputPort>& handle) override;
    uint32_t OpenOutput(uint32_t device, const std::string& portName,
                        std::unique_ptr<MidiOutputPort>& handle) override;
    uint32_t CloseOutput(std::unique_ptr<MidiOutputPort>& handle) override;

private:
    RtMidi::Api api_;  // RTMIDI_DUMMY when no service answers
    // The names as enumerated at start-up: a device number names the device
    // it named then, wherever the service lists it now.
    std::vector<std::string> inputNames_;
    std::vector<std::string> outputNames_;
};

}  // namespace cadenzo
