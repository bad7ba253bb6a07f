// The real MIDI back end on RtMidi: the ALSA sequencer where it can be
// opened, else JACK (the default server, or the one JACK_DEFAULT_SERVER
// names; with no devices while no server answers); or only the service asked
// for, with no devices at all when the ALSA sequencer asked for does not
// open. Every open port is its own client ("Cadenzo <port>") with one port
// named after the program's port ("In1", "SynthOut", ...). A watch of the
// service (midi/rtmidi/*_watch.h) signals DeviceChanges(), and under JACK
// closes the clients of a server that went away and reaches for it again.
// Main thread only, except the handles' Send (serialised by the caller) and
// the input callbacks.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <RtMidi.h>

#include "midi/midi_backend.h"
#include "midi/midi_service.h"
#include "midi/rtmidi/alsa_watch.h"
#include "midi/rtmidi/jack_watch.h"

namespace cadenzo {

class RtMidiBackend final : public MidiBackend {
public:
    explicit RtMidiBackend(MidiService wanted = MidiService::Automatic);
    ~RtMidiBackend() override;

    // Which MIDI service answers: "ALSA", "JACK" or "none".
    std::string ServiceName() const override;

    // Under ALSA the names leave out the port's numeric address, which
    // changes when a device is plugged in again. The program's own ports are
    // never listed.
    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    uint32_t OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback, void* context,
                       std::unique_ptr<MidiInputPort>& handle) override;
    uint32_t StartInput(MidiInputPort& port) override;
    uint32_t CloseInput(std::unique_ptr<MidiInputPort>& handle) override;
    uint32_t OpenOutput(uint32_t device, const std::string& portName,
                        std::unique_ptr<MidiOutputPort>& handle) override;
    uint32_t CloseOutput(std::unique_ptr<MidiOutputPort>& handle) override;
    std::optional<uint32_t> ListedPlace(const std::string& portName) override;

private:
    // The service answers, so new clients may be opened.
    bool Reachable() const;
    std::string StableName(const std::string& listed) const;
    // The devices of one direction: their names as listed into `listed`,
    // and the names returned.
    std::vector<std::string> List(bool inputs, std::vector<std::string>& listed);
    // Where device `device` of `names` is listed in `midi` now, or -1; its
    // name as listed goes to `listed`.
    template <typename Midi>
    int CurrentIndex(Midi& midi, const std::vector<std::string>& names, uint32_t device, std::string& listed) const;
    // Under JACK: waits until the new connection of port `portName` to
    // `device` shows in the server's graph.
    bool Joined(const std::string& device, const std::string& portName);

    RtMidi::Api api_;
    std::atomic<int> clients_{0};  // RtMidi objects that are clients of the service
    std::unique_ptr<AlsaWatch> alsaWatch_;
    std::unique_ptr<JackWatch> jackWatch_;
    // The last listing: the names a device number refers to, and the same
    // devices as the service listed them.
    std::vector<std::string> inputNames_;
    std::vector<std::string> outputNames_;
    std::vector<std::string> listedInputs_;
    std::vector<std::string> listedOutputs_;
    // Per open port of the program, the device it was opened on, as listed.
    struct Opened {
        std::string device;
        bool input;
    };
    std::map<std::string, Opened> opened_;
};

}  // namespace cadenzo
