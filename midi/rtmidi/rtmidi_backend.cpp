#include "midi/rtmidi/rtmidi_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include <unistd.h>

#include "midi/alsa_device_name.h"
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

// A new JACK connection shows in the server's graph from its next cycle on.
constexpr auto kJoinWait = std::chrono::milliseconds(500);

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

bool OwnPort(const std::string& listed) { return listed.starts_with(kClientPrefix); }

// The service to follow: the one asked for, or by default the ALSA
// sequencer where it opens, else JACK, whose server may come later.
RtMidi::Api ChooseApi(MidiService wanted) {
    if (wanted != MidiService::Jack && AlsaSequencerOpens()) return RtMidi::LINUX_ALSA;
    return wanted == MidiService::Alsa ? RtMidi::RTMIDI_DUMMY : RtMidi::UNIX_JACK;
}

// Counts an RtMidi object among the clients of the service from before it is
// made until after it is gone.
class ClientCount {
public:
    explicit ClientCount(std::atomic<int>& clients) : clients_(&clients) { clients_->fetch_add(1); }
    ClientCount(ClientCount&& other) noexcept : clients_(std::exchange(other.clients_, nullptr)) {}
    ClientCount& operator=(ClientCount&&) = delete;
    ~ClientCount() {
        if (clients_) clients_->fetch_sub(1);
    }

private:
    std::atomic<int>* clients_;
};

class RtInput final : public MidiInputPort {
public:
    RtInput(ClientCount count, std::unique_ptr<RtMidiIn> midi, std::string portName, MidiInputCallback callback,
            void* context)
        : count_(std::move(count)), midi_(std::move(midi)), portName_(std::move(portName)), callback_(callback),
          context_(context) {
        midi_->setCallback(&RtInput::Deliver, this);
    }

    void Start() { started_.store(true, std::memory_order_release); }
    RtMidiIn& Midi() { return *midi_; }
    const std::string& PortName() const { return portName_; }

private:
    // On the service's thread: the short messages of the event, one by one,
    // as 32-bit words.
    static void Deliver(double, std::vector<unsigned char>* bytes, void* user) {
        auto& self = *static_cast<RtInput*>(user);
        if (!self.started_.load(std::memory_order_acquire)) return;
        SplitShortMessages(bytes->data(), bytes->size(),
                           [&self](ShortMessage m) { self.callback_(self.context_, kMimData, m); });
    }

    ClientCount count_;  // outlives midi_
    std::unique_ptr<RtMidiIn> midi_;
    std::string portName_;
    MidiInputCallback callback_;
    void* context_;
    std::atomic<bool> started_{false};
};

class RtOutput final : public MidiOutputPort {
public:
    // `alive`: whether the service answers (none: it always does).
    RtOutput(ClientCount count, std::unique_ptr<RtMidiOut> midi, std::string portName, const std::atomic<bool>* alive)
        : count_(std::move(count)), midi_(std::move(midi)), portName_(std::move(portName)), alive_(alive) {}
    void Send(ShortMessage m) override {
        // A dead JACK client never drains its buffer, and a send to a full
        // one would wait for room for ever.
        if (alive_ && !alive_->load(std::memory_order_acquire)) return;
        const uint8_t status = m & 0xFF;
        const int dataBytes = ShortMessageDataBytes(status);
        if (dataBytes < 0) return;
        const unsigned char bytes[3] = {status, static_cast<unsigned char>((m >> 8) & 0x7F),
                                        static_cast<unsigned char>((m >> 16) & 0x7F)};
        midi_->sendMessage(bytes, static_cast<size_t>(dataBytes) + 1);
    }
    RtMidiOut& Midi() { return *midi_; }
    const std::string& PortName() const { return portName_; }

    // Closes the port, then lets a JACK cycle pass before it may be destroyed.
    void Close(RtMidi::Api api) {
        midi_->closePort();
        if (api == RtMidi::UNIX_JACK) std::this_thread::sleep_for(kJackCycleGrace);
    }

private:
    ClientCount count_;  // outlives midi_
    std::unique_ptr<RtMidiOut> midi_;
    std::string portName_;
    const std::atomic<bool>* alive_;
};

}  // namespace

RtMidiBackend::RtMidiBackend(MidiService wanted) : api_(ChooseApi(wanted)) {
    if (api_ == RtMidi::LINUX_ALSA)
        alsaWatch_ = std::make_unique<AlsaWatch>(deviceChanges_);
    else if (api_ == RtMidi::UNIX_JACK)
        jackWatch_ = std::make_unique<JackWatch>(deviceChanges_, clients_);
}

RtMidiBackend::~RtMidiBackend() = default;

std::string RtMidiBackend::ServiceName() const {
    if (api_ == RtMidi::LINUX_ALSA) return "ALSA";
    return jackWatch_ && jackWatch_->Alive() ? "JACK" : "none";
}

bool RtMidiBackend::Reachable() const { return alsaWatch_ || (jackWatch_ && jackWatch_->Alive()); }

std::string RtMidiBackend::StableName(const std::string& listed) const {
    return api_ == RtMidi::LINUX_ALSA ? AlsaDeviceName(listed) : listed;
}

std::vector<std::string> RtMidiBackend::List(bool inputs, std::vector<std::string>& listed) {
    // As RtMidi lists them: sources for an input, sinks for an output.
    if (jackWatch_)
        listed = jackWatch_->Ports(inputs ? JackPortIsOutput : JackPortIsInput);
    else if (!alsaWatch_)
        listed.clear();  // no service to follow
    else
        listed = alsaWatch_->Ports(inputs ? SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ
                                          : SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE);
    std::erase_if(listed, &OwnPort);
    std::vector<std::string> names;
    for (const std::string& name : listed) names.push_back(StableName(name));
    return names;
}

std::vector<std::string> RtMidiBackend::InputNames() {
    inputNames_ = List(true, listedInputs_);
    return inputNames_;
}

std::vector<std::string> RtMidiBackend::OutputNames() {
    outputNames_ = List(false, listedOutputs_);
    return outputNames_;
}

template <typename Midi>
int RtMidiBackend::CurrentIndex(Midi& midi, const std::vector<std::string>& names, uint32_t device,
                                std::string& listed) const {
    // Devices of one name are told apart by their order.
    auto occurrence = std::count(names.begin(), names.begin() + device, names[device]);
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        std::string name = midi.getPortName(i);
        if (OwnPort(name) || StableName(name) != names[device] || occurrence-- > 0) continue;
        listed = std::move(name);
        return static_cast<int>(i);
    }
    return -1;
}

bool RtMidiBackend::Joined(const std::string& device, const std::string& portName) {
    if (!jackWatch_) return true;
    const auto deadline = std::chrono::steady_clock::now() + kJoinWait;
    while (!jackWatch_->Joined(device, kClientPrefix + portName, portName)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

uint32_t RtMidiBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                  void* context, std::unique_ptr<MidiInputPort>& handle) {
    if (device >= inputNames_.size()) return kMidiBadDeviceId;
    ClientCount count(clients_);  // before the server is looked at
    if (!Reachable()) return kMidiNoDevice;
    try {
        auto midi = std::make_unique<RtMidiIn>(api_, kClientPrefix + portName);
        midi->setErrorCallback(&IgnoreRtMidiError);
        std::string listed;
        const int index = CurrentIndex(*midi, inputNames_, device, listed);
        if (index < 0) return kMidiBadDeviceId;
        midi->ignoreTypes(true, false, false);  // system exclusive dropped; clock and sensing kept
        auto input = std::make_unique<RtInput>(std::move(count), std::move(midi), portName, callback, context);
        input->Midi().openPort(static_cast<unsigned>(index), portName);
        if (!input->Midi().isPortOpen() || !Joined(listed, portName)) return kMidiAllocated;
        opened_[portName] = {listed, true};
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
    auto& input = static_cast<RtInput&>(*handle);
    opened_.erase(input.PortName());
    if (!Reachable()) {
        jackWatch_->Bury(std::shared_ptr<MidiInputPort>(std::move(handle)));
        return kMidiOk;
    }
    input.Midi().closePort();
    handle.reset();
    return kMidiOk;
}

uint32_t RtMidiBackend::OpenOutput(uint32_t device, const std::string& portName,
                                   std::unique_ptr<MidiOutputPort>& handle) {
    if (device >= outputNames_.size()) return kMidiBadDeviceId;
    ClientCount count(clients_);  // before the server is looked at
    if (!Reachable()) return kMidiNoDevice;
    try {
        auto midi = std::make_unique<RtMidiOut>(api_, kClientPrefix + portName);
        midi->setErrorCallback(&IgnoreRtMidiError);
        std::string listed;
        const int index = CurrentIndex(*midi, outputNames_, device, listed);
        if (index < 0) return kMidiBadDeviceId;
        midi->openPort(static_cast<unsigned>(index), portName);
        auto output = std::make_unique<RtOutput>(std::move(count), std::move(midi), portName,
                                                 jackWatch_ ? &jackWatch_->AliveFlag() : nullptr);
        if (!output->Midi().isPortOpen() || !Joined(listed, portName)) {
            output->Close(api_);
            return kMidiAllocated;
        }
        // The connection is in the graph, but in force only from a later cycle.
        if (jackWatch_) std::this_thread::sleep_for(kJackCycleGrace);
        opened_[portName] = {listed, false};
        handle = std::move(output);
        return kMidiOk;
    } catch (const RtMidiError&) {
        return kMidiNoDevice;
    } catch (const std::bad_alloc&) {
        return kMidiNoMemory;
    }
}

uint32_t RtMidiBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    auto& output = static_cast<RtOutput&>(*handle);
    opened_.erase(output.PortName());
    if (!Reachable()) {
        jackWatch_->Bury(std::shared_ptr<MidiOutputPort>(std::move(handle)));
        return kMidiOk;
    }
    output.Close(api_);
    handle.reset();
    return kMidiOk;
}

std::optional<uint32_t> RtMidiBackend::ListedPlace(const std::string& portName) {
    const auto it = opened_.find(portName);
    if (it == opened_.end()) return std::nullopt;
    const Opened& opened = it->second;
    // Under ALSA a device plugged in again is listed at a new address; under
    // JACK its port has the old name, but the program's port is not joined to it.
    const std::vector<std::string>& listed = opened.input ? listedInputs_ : listedOutputs_;
    const auto place = std::find(listed.begin(), listed.end(), opened.device);
    if (place == listed.end()) return std::nullopt;
    if (jackWatch_ && !jackWatch_->Joined(opened.device, kClientPrefix + portName, portName)) return std::nullopt;
    return static_cast<uint32_t>(place - listed.begin());
}

}  // namespace cadenzo
