#include "midi/virtual/virtual_backend.h"

#include <algorithm>
#include <numeric>

namespace cadenzo {

// One of the program's ports open on a device; several ports may share one.
struct VirtualConnection {
    uint64_t id = 0;
    std::string portName;
    bool started = false;                  // inputs: delivering
    MidiInputCallback callback = nullptr;  // inputs
    void* context = nullptr;
};

// What inputs and outputs share. `generation` moves on whenever the ports
// open on the device go dead, so a handle of an older one is dead.
struct VirtualMidiBackend::Device {
    std::string name;
    mutable std::mutex mutex;  // held while a callback runs, so a close waits it out
    bool present = true;       // plugged in
    std::vector<VirtualConnection> connections;
    uint64_t nextConnection = 0;
    std::atomic<uint64_t> generation{0};

    // Under the mutex: the open ports, if any, go dead.
    void Kill() {
        if (connections.empty()) return;
        connections.clear();
        generation.fetch_add(1, std::memory_order_release);
    }
    // Under the mutex: the connection `id`, if it is still there.
    VirtualConnection* Find(uint64_t id) {
        for (VirtualConnection& c : connections)
            if (c.id == id) return &c;
        return nullptr;
    }
    // Under the mutex: the connection `id` closes.
    void Forget(uint64_t id) {
        std::erase_if(connections, [id](const VirtualConnection& c) { return c.id == id; });
    }
    std::string FirstPortName() const { return connections.empty() ? "" : connections.front().portName; }
};

struct VirtualMidiBackend::InputDevice : Device {};

struct VirtualMidiBackend::OutputDevice : Device {
    const std::atomic<bool>* recording = nullptr;  // the back end's switch
    VirtualMidiBackend::SendLosses* losses = nullptr;  // the back end's
    VirtualMidiBackend::OutputTap tap = nullptr;
    void* tapUser = nullptr;
    std::atomic<uint64_t> count{0};
    std::vector<ShortMessage> sent;
};

namespace {

// A handle is live while its device's generation is the one it was opened in.
template <class D>
struct Opened {
    Opened(D& d, uint64_t connection)
        : device(d), generation(d.generation.load(std::memory_order_acquire)), id(connection) {}
    bool Live() const { return device.generation.load(std::memory_order_acquire) == generation; }
    D& device;
    const uint64_t generation;
    const uint64_t id;  // its connection
};

class VirtualInput final : public MidiInputPort, public Opened<VirtualMidiBackend::InputDevice> {
public:
    using Opened::Opened;
};

class VirtualOutput final : public MidiOutputPort, public Opened<VirtualMidiBackend::OutputDevice> {
public:
    VirtualOutput(VirtualMidiBackend::OutputDevice& d, uint64_t connection, size_t port)
        : Opened(d, connection), port_(port) {}
    void Send(ShortMessage m) override {
        if (!Live()) return;  // a dead port swallows what it is sent
        if (device.losses->Take(port_)) return;
        device.count.fetch_add(1, std::memory_order_relaxed);
        if (device.tap) device.tap(device.tapUser, m);
        if (!device.recording->load(std::memory_order_relaxed)) return;
        std::lock_guard lock(device.mutex);
        device.sent.push_back(m);
    }

private:
    size_t port_;  // the program's port, an index of kPortNames
};

}  // namespace

VirtualMidiBackend::VirtualMidiBackend(std::vector<std::string> inputs, std::vector<std::string> outputs) {
    for (std::string& name : inputs) {
        inputs_.push_back(std::make_unique<InputDevice>());
        inputs_.back()->name = std::move(name);
    }
    for (std::string& name : outputs) {
        outputs_.push_back(std::make_unique<OutputDevice>());
        outputs_.back()->name = std::move(name);
        outputs_.back()->recording = &recording_;
        outputs_.back()->losses = &losses_;
        outputs_.back()->sent.reserve(1 << 16);
    }
    listedInputs_.resize(inputs_.size());
    std::iota(listedInputs_.begin(), listedInputs_.end(), size_t{0});
    listedOutputs_.resize(outputs_.size());
    std::iota(listedOutputs_.begin(), listedOutputs_.end(), size_t{0});
}

VirtualMidiBackend::~VirtualMidiBackend() = default;

bool VirtualMidiBackend::Feed(uint32_t device, ShortMessage m, uint16_t kind) {
    if (device >= inputs_.size()) return false;
    InputDevice& d = *inputs_[device];
    std::lock_guard lock(d.mutex);
    bool delivered = false;
    for (const VirtualConnection& c : d.connections) {
        if (!c.started) continue;
        c.callback(c.context, kind, m);
        delivered = true;
    }
    return delivered;
}

std::vector<ShortMessage> VirtualMidiBackend::Sent(uint32_t device) const {
    const OutputDevice& d = *outputs_.at(device);
    std::lock_guard lock(d.mutex);
    return d.sent;
}

void VirtualMidiBackend::ClearSent() {
    for (auto& d : outputs_) {
        std::lock_guard lock(d->mutex);
        d->sent.clear();
    }
}

uint64_t VirtualMidiBackend::SentCount(uint32_t device) const {
    return outputs_.at(device)->count.load(std::memory_order_relaxed);
}

void VirtualMidiBackend::SetRecording(bool on) { recording_.store(on, std::memory_order_relaxed); }

void VirtualMidiBackend::SetOutputTap(uint32_t device, OutputTap tap, void* user) {
    OutputDevice& d = *outputs_.at(device);
    d.tap = tap;
    d.tapUser = user;
}

void VirtualMidiBackend::FailNextOpen(MidiResult result) {
    std::lock_guard lock(failuresMutex_);
    openFailures_.push_back(result);
}

void VirtualMidiBackend::FailNextClose(MidiResult result) {
    std::lock_guard lock(failuresMutex_);
    closeFailures_.push_back(result);
}

MidiResult VirtualMidiBackend::TakeFailure(std::deque<MidiResult>& failures) {
    std::lock_guard lock(failuresMutex_);
    if (failures.empty()) return kMidiOk;
    const MidiResult result = failures.front();
    failures.pop_front();
    return result;
}

std::string VirtualMidiBackend::InputPortName(uint32_t device) const {
    const InputDevice& d = *inputs_.at(device);
    std::lock_guard lock(d.mutex);
    return d.FirstPortName();
}

std::string VirtualMidiBackend::OutputPortName(uint32_t device) const {
    const OutputDevice& d = *outputs_.at(device);
    std::lock_guard lock(d.mutex);
    return d.FirstPortName();
}

template <class D>
void VirtualMidiBackend::SetPresent(std::vector<std::unique_ptr<D>>& devices, uint32_t device, bool present) {
    D& d = *devices.at(device);
    {
        std::lock_guard lock(d.mutex);
        d.present = present;
        if (!present) d.Kill();
    }
    deviceChanges_.Signal();
}

void VirtualMidiBackend::UnplugInput(uint32_t device) { SetPresent(inputs_, device, false); }
void VirtualMidiBackend::PlugInput(uint32_t device) { SetPresent(inputs_, device, true); }
void VirtualMidiBackend::UnplugOutput(uint32_t device) { SetPresent(outputs_, device, false); }
void VirtualMidiBackend::PlugOutput(uint32_t device) { SetPresent(outputs_, device, true); }

void VirtualMidiBackend::RenameInput(uint32_t device, const std::string& name) {
    {
        InputDevice& d = *inputs_.at(device);
        std::lock_guard lock(d.mutex);
        d.name = name;
    }
    deviceChanges_.Signal();
}

void VirtualMidiBackend::StopService() {
    serviceUp_.store(false);
    for (auto& d : inputs_) {
        std::lock_guard lock(d->mutex);
        d->Kill();
    }
    for (auto& d : outputs_) {
        std::lock_guard lock(d->mutex);
        d->Kill();
    }
    deviceChanges_.Signal();
}

void VirtualMidiBackend::StartService() {
    serviceUp_.store(true);
    deviceChanges_.Signal();
}

template <class D>
std::vector<std::string> VirtualMidiBackend::List(const std::vector<std::unique_ptr<D>>& devices,
                                                  std::vector<size_t>& listed) {
    if (listingTap_ != nullptr) listingTap_(listingTapUser_);
    listed.clear();
    std::vector<std::string> names;
    if (!serviceUp_.load()) return names;
    for (size_t i = 0; i < devices.size(); ++i) {
        std::lock_guard lock(devices[i]->mutex);
        if (!devices[i]->present) continue;
        listed.push_back(i);
        names.push_back(devices[i]->name);
    }
    return names;
}

std::vector<std::string> VirtualMidiBackend::InputNames() { return List(inputs_, listedInputs_); }
std::vector<std::string> VirtualMidiBackend::OutputNames() { return List(outputs_, listedOutputs_); }

template <class D, class Ready>
MidiResult VirtualMidiBackend::Claim(const std::vector<std::unique_ptr<D>>& devices, const std::vector<size_t>& listed,
                                   uint32_t device, const std::string& portName, Ready ready) {
    if (const MidiResult failure = TakeFailure(openFailures_)) return failure;
    if (!serviceUp_.load()) return kMidiNoDevice;
    if (device >= listed.size()) return kMidiBadDeviceId;
    D& d = *devices[listed[device]];
    std::lock_guard lock(d.mutex);
    if (!d.present) return kMidiBadDeviceId;
    d.connections.push_back({d.nextConnection++, portName});
    ready(d, d.connections.back());
    return kMidiOk;
}

MidiResult VirtualMidiBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                       void* context, std::unique_ptr<MidiInputPort>& handle) {
    return Claim(inputs_, listedInputs_, device, portName, [&](InputDevice& d, VirtualConnection& c) {
        c.callback = callback;
        c.context = context;
        handle = std::make_unique<VirtualInput>(d, c.id);
    });
}

MidiResult VirtualMidiBackend::StartInput(MidiInputPort& port) {
    auto& input = static_cast<VirtualInput&>(port);
    std::lock_guard lock(input.device.mutex);
    if (VirtualConnection* c = input.Live() ? input.device.Find(input.id) : nullptr) c->started = true;
    return kMidiOk;
}

MidiResult VirtualMidiBackend::CloseInput(std::unique_ptr<MidiInputPort>& handle) {
    if (const MidiResult failure = TakeFailure(closeFailures_)) return failure;
    if (!handle) return kMidiInvalidHandle;
    auto& input = static_cast<VirtualInput&>(*handle);
    {
        std::lock_guard lock(input.device.mutex);
        if (input.Live()) input.device.Forget(input.id);
    }
    handle.reset();
    return kMidiOk;
}

MidiResult VirtualMidiBackend::OpenOutput(uint32_t device, const std::string& portName,
                                        std::unique_ptr<MidiOutputPort>& handle) {
    return Claim(outputs_, listedOutputs_, device, portName,
                 [&](OutputDevice& d, VirtualConnection& c) {
                     const size_t port = static_cast<size_t>(
                         std::find(kPortNames.begin(), kPortNames.end(), portName) - kPortNames.begin());
                     handle = std::make_unique<VirtualOutput>(d, c.id, port);
                 });
}

MidiResult VirtualMidiBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (const MidiResult failure = TakeFailure(closeFailures_)) return failure;
    if (!handle) return kMidiInvalidHandle;
    auto& output = static_cast<VirtualOutput&>(*handle);
    {
        std::lock_guard lock(output.device.mutex);
        if (output.Live()) output.device.Forget(output.id);
    }
    handle.reset();
    return kMidiOk;
}

template <class D>
std::optional<ClientPort> VirtualMidiBackend::ClientPortIn(const std::vector<std::unique_ptr<D>>& devices,
                                                           size_t built) {
    const auto clientOf = [&](size_t i) {
        std::lock_guard lock(devices[i]->mutex);
        const size_t colon = devices[i]->name.find(':');
        return colon == std::string::npos ? std::string() : devices[i]->name.substr(0, colon);
    };
    const std::string client = clientOf(built);
    if (client.empty()) return std::nullopt;
    uint32_t port = 0;
    for (size_t i = 0; i < built; ++i) port += clientOf(i) == client ? 1 : 0;
    return ClientPort{client, port};
}

std::optional<ClientPort> VirtualMidiBackend::ClientPortOf(bool input, uint32_t device) const {
    const std::vector<size_t>& listed = input ? listedInputs_ : listedOutputs_;
    if (device >= listed.size()) return std::nullopt;
    return input ? ClientPortIn(inputs_, listed[device]) : ClientPortIn(outputs_, listed[device]);
}

std::optional<uint32_t> VirtualMidiBackend::ListedPlace(const std::string& portName) {
    auto place = [&](const auto& devices, const std::vector<size_t>& listed) -> std::optional<uint32_t> {
        for (size_t i = 0; i < listed.size(); ++i) {
            const Device& d = *devices[listed[i]];
            std::lock_guard lock(d.mutex);
            for (const VirtualConnection& c : d.connections)
                if (c.portName == portName) return static_cast<uint32_t>(i);
        }
        return std::nullopt;
    };
    if (const auto input = place(inputs_, listedInputs_)) return input;
    return place(outputs_, listedOutputs_);
}

}  // namespace cadenzo
