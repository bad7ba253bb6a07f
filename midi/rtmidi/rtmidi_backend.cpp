#include "midi/rtmidi/rtmidi_backend.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <jack/jack.h>
#include <unistd.h>

#include "midi/short_message_split.h"

namespace cadenzo {

namespace {

constexpr const char* kClientPrefix = "Cadenzo ";

// Under JACK a change of the graph takes effect from a later cycle on. An
// output's process callback may still be reading its buffers for the rest
// of the current cycle after the port is closed: destroying the output
// before that cycle has passed has been seen to crash. And a new output's
// connection is not yet in force for the rest of the current cycle: what is
// sent in it goes nowhere (on a loaded machine, the whole start-up mix).
constexpr auto kJackCycleGrace = std::chrono::milliseconds(50);

void Silent(const char*) {}
void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

bool AlsaSequencerOpens() {
    // Ask the device first: a failed open makes the ALSA library complain aloud.
    if (::access("/dev/snd/seq", R_OK | W_OK) != 0) return false;
    try {
        RtMidiIn probe(RtMidi::LINUX_ALSA, "Cadenzo probe");
        return true;
    } catch (const RtMidiError&) {
        return false;
    }
}

bool JackServerAnswers() {
    jack_set_error_function(&Silent);
    jack_set_info_function(&Silent);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("Cadenzo probe", JackNoStartServer, &status);
    if (client == nullptr) return false;
    jack_client_close(client);
    return true;
}

RtMidi::Api ChooseApi(MidiService wanted) {
    const bool alsa = wanted != MidiService::Jack && AlsaSequencerOpens();
    if (alsa) return RtMidi::LINUX_ALSA;
    const bool jack = wanted != MidiService::Alsa && JackServerAnswers();
    return jack ? RtMidi::UNIX_JACK : RtMidi::RTMIDI_DUMMY;
}

template <typename Midi>
std::vector<std::string> PortNames(Midi& midi) {
    std::vector<std::string> names;
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(midi.getPortName(i));
    return names;
}

// The devices of one direction, through a short-lived client of the service.
template <typename Midi>
std::vector<std::string> ListDevices(RtMidi::Api api) {
    if (api == RtMidi::RTMIDI_DUMMY) return {};
    try {
        Midi midi(api, "Cadenzo list");
        midi.setErrorCallback(&IgnoreRtMidiError);
        return PortNames(midi);
    } catch (const RtMidiError&) {
        return {};
    }
}

// Where the device enumerated as `name` is listed now, or -1.
template <typename Midi>
int CurrentIndex(Midi& midi, const std::string& name) {
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        if (midi.getPortName(i) == name) return static_cast<int>(i);
    return -1;
}

class RtInput final : public MidiInputPort {
public:
    RtInput(std::unique_ptr<RtMidiIn> midi, MidiInputCallback callback, void* context)
        : midi_(std::move(midi)), callback_(callback), context_(context) {
        midi_->setCallback(&RtInput::Deliver, this);
    }

    void Start() { started_.store(true, std::memory_order_release); }
    RtMidiIn& Midi() { return *midi_; }

private:
    // On the service's thread: the short messages of the event, one by one,
    // as 32-bit words.
    static void Deliver(double, std::vector<unsigned char>* bytes, void* user) {
        auto& self = *static_cast<RtInput*>(user);
        if (!self.started_.load(std::memory_order_acquire)) return;
        SplitShortMessages(bytes->data(), bytes->size(),
                           [&self](ShortMessage m) { self.callback_(self.context_, kMimData, m); });
    }

    std::unique_ptr<RtMidiIn> midi_;
    MidiInputCallback callback_;
    void* context_;
    std::atomic<bool> started_{false};
};

class RtOutput final : public MidiOutputPort {
public:
    explicit RtOutput(std::unique_ptr<RtMidiOut> midi) : midi_(std::move(midi)) {}
    void Send(ShortMessage m) override {
        const uint8_t status = m & 0xFF;
        const int dataBytes = ShortMessageDataBytes(status);
        if (dataBytes < 0) return;
        const unsigned char bytes[3] = {status, static_cast<unsigned char>((m >> 8) & 0x7F),
                                        static_cast<unsigned char>((m >> 16) & 0x7F)};
        midi_->sendMessage(bytes, static_cast<size_t>(dataBytes) + 1);
    }
    RtMidiOut& Midi() { return *midi_; }

private:
    std::unique_ptr<RtMidiOut> midi_;
};

}  // namespace

RtMidiBackend::RtMidiBackend(MidiService wanted) : api_(ChooseApi(wanted)) {}

std::string RtMidiBackend::ServiceName() const {
    return api_ == RtMidi::LINUX_ALSA ? "ALSA" : api_ == RtMidi::UNIX_JACK ? "JACK" : "none";
}

std::vector<std::string> RtMidiBackend::InputNames() {
    inputNames_ = ListDevices<RtMidiIn>(api_);
    return inputNames_;
}

std::vector<std::string> RtMidiBackend::OutputNames() {
    outputNames_ = ListDevices<RtMidiOut>(api_);
    return outputNames_;
}

uint32_t RtMidiBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                  void* context, std::unique_ptr<MidiInputPort>& handle) {
    if (device >= inputNames_.size()) return kMidiBadDeviceId;
    try {
        auto midi = std::make_unique<RtMidiIn>(api_, kClientPrefix + portName);
        midi->setErrorCallback(&IgnoreRtMidiError);
        const int index = CurrentIndex(*midi, inputNames_[device]);
        if (index < 0) return kMidiBadDeviceId;
        midi->ignoreTypes(true, false, false);  // system exclusive dropped; clock and sensing kept
        auto input = std::make_unique<RtInput>(std::move(midi), callback, context);
        input->Midi().openPort(static_cast<unsigned>(index), portName);
        if (!input->Midi().isPortOpen()) return kMidiAllocated;
        handle = std::move(input);
        return kMidiOk;
    } catch (const RtMidiError&) {
        return kMidiNoDevice;
    } catch (const std::bad_alloc&) {
        return kMidiNoMemory;
    }
}

uint32_t RtMidiBackend::StartInput(MidiInputPort& port) {
    static_cast<RtInput&>(port).Start();
    return kMidiOk;
}

uint32_t RtMidiBackend::CloseInput(std::unique_ptr<MidiInputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    static_cast<RtInput&>(*handle).Midi().closePort();
    handle.reset();
    return kMidiOk;
}

uint32_t RtMidiBackend::OpenOutput(uint32_t device, const std::string& portName,
                                   std::unique_ptr<MidiOutputPort>& handle) {
    if (device >= outputNames_.size()) return kMidiBadDeviceId;
    try {
        auto midi = std::make_unique<RtMidiOut>(api_, kClientPrefix + portName);
        midi->setErrorCallback(&IgnoreRtMidiError);
        const int index = CurrentIndex(*midi, outputNames_[device]);
        if (index < 0) return kMidiBadDeviceId;
        midi->openPort(static_cast<unsigned>(index), portName);
        if (!midi->isPortOpen()) return kMidiAllocated;
        if (api_ == RtMidi::UNIX_JACK) std::this_thread::sleep_for(kJackCycleGrace);
        handle = std::make_unique<RtOutput>(std::move(midi));
        return kMidiOk;
    } catch (const RtMidiError&) {
        return kMidiNoDevice;
    } catch (const std::bad_alloc&) {
        return kMidiNoMemory;
    }
}

uint32_t RtMidiBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    static_cast<RtOutput&>(*handle).Midi().closePort();
    if (api_ == RtMidi::UNIX_JACK) std::this_thread::sleep_for(kJackCycleGrace);
    handle.reset();
    return kMidiOk;
}

}  // namespace cadenzo
