// The real MIDI back end on libjack: one client of the JACK server (the
// default one, or the one JACK_DEFAULT_SERVER names; no devices while none
// answers) with the program's six ports. Opening a device on a port joins
// the device's JACK port to it; closing parts them again. Connections that
// someone else made or broke (a patchbay) are left alone. Devices are the
// other clients' MIDI ports, listed by full name ("client:port"); a port's
// alias (under `jackd -X seq`, the ALSA device's stable name) counts as that
// port's name too. A connection that someone else had made already is
// taken as the device's, in force at once, and left in place at the close.
//
// Input plays on the process thread, and what it causes leaves in the same
// cycle at the input event's own frame; other threads' messages leave one
// period after they were sent, at their own place (midi/jack/output_queue.h).
//
// Threads: main thread only, except the handles' Send and Backlogged, which
// any threads may call at once, LostMessages and AnsweringService (any thread).
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "midi/jack/input_bindings.h"
#include "midi/jack/jack_client.h"
#include "midi/jack/output_queue.h"
#include "midi/midi_backend.h"
#include "midi/port_names.h"

namespace cadenzo {

class JackBackend final : public MidiBackend {
public:
    explicit JackBackend(const std::string& clientName = kDefaultClientName);
    ~JackBackend() override;

    std::optional<MidiService> AnsweringService() const override;
    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    MidiResult OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback, void* context,
                       std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult StartInput(MidiInputPort& port) override;
    MidiResult CloseInput(std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult OpenOutput(uint32_t device, const std::string& portName,
                        std::unique_ptr<MidiOutputPort>& handle) override;
    MidiResult CloseOutput(std::unique_ptr<MidiOutputPort>& handle) override;
    std::optional<uint32_t> ListedPlace(const std::string& portName) override;
    std::string ListedNameOf(bool input, const std::string& nameOrAlias) const override;
    uint64_t LostMessages(size_t port) const override;
    std::optional<int> ServerClientPriority() const override { return client_.ClientPriority(); }
    // The tick runs on the process thread, every millisecond of the cycles'
    // frames, among the input events at its own frame.
    bool StartCycleTick(void (*tick)(void*), void* user, bool (*idle)(void*)) override;
    void StopCycleTick() override;

private:
    // Per open port of the program (by name): the device joined to it.
    struct Joined {
        std::string device;
        jack_uuid_t uuid;
        bool input;
        uint64_t portsGone;  // JackClient::PortsGone() when joined
        bool ours;           // the program made the connection (else someone else had)
    };

    // The device `device` of the last listing of one direction joined to the
    // program's port `index`; the result code.
    MidiResult Join(bool input, uint32_t device, size_t index, const std::string& portName);
    // Parts the program's port `index` from the device it joined.
    void Part(size_t index, const std::string& portName);
    // Whether the program's port `index` is still joined to `joined.device`.
    bool StillJoined(size_t index, const Joined& joined);
    // Waits (for a few cycles at most) until what other threads sent on
    // output `index` is written.
    void Drain(size_t index) const;
    // Waits (for a few cycles at most) until a connection to output
    // `output` announced after the first `before` is in force in a cycle.
    void AwaitOutputConnection(size_t output, uint64_t before) const;

    // The last listings of devices.
    std::vector<JackListedPort> inputs_;
    std::vector<JackListedPort> outputs_;
    std::map<std::string, Joined> joined_;

    InputBindings bindings_;
    std::unique_ptr<std::array<OutputQueue, kJackOutputCount>> queues_;
    JackClient client_;  // last: its process callback uses the above
};

}  // namespace cadenzo
