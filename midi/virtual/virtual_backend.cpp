#include "midi/virtual/virtual_backend.h"

namespace cadenzo {

struct VirtualMidiBackend::InputDevice {
    std::string name;
    mutable std::mutex mutex;  // held while a callback runs, so a close waits it out
    bool open = false;
    bool started = false;
    std::string portName;
    MidiInputCallback callback = nullptr;
    void* context = nullptr;
};

struct VirtualMidiBackend::OutputDevice {
    std::string name;
    const std::atomic<bool>* recording = nullptr;  // the back end's switch
    VirtualMidiBackend::OutputTap tap = nullptr;
    void* tapUser = nullptr;
    std::atomic<uint64_t> count{0};  // sends on a port are serialised by the caller
    mutable std::mutex mutex;
    bool open = false;
    std::string portName;
    std::vector<ShortMessage> sent;
};

namespace {

class VirtualInput final : public MidiInputPort {
public:
    explicit VirtualInput(VirtualMidiBackend::InputDevice& d) : device(d) {}
    VirtualMidiBackend::InputDevice& device;
};

class VirtualOutput final : public MidiOutputPort {
public:
    explicit VirtualOutput(VirtualMidiBackend::OutputDevice& d) : device(d) {}
    void Send(ShortMessage m) override {
        device.count.store(device.count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        if (device.tap) device.tap(device.tapUser, m);
        if (!device.recording->load(std::memory_order_relaxed)) return;
        std::lock_guard lock(device.mutex);
        device.sent.push_back(m);
    }
    VirtualMidiBackend::OutputDevice& device;
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
        outputs_.back()->sent.reserve(1 << 16);
    }
}

VirtualMidiBackend::~VirtualMidiBackend() = default;

bool VirtualMidiBackend::Feed(uint32_t device, ShortMessage m, uint16_t kind) {
    if (device >= inputs_.size()) return false;
    InputDevice& d = *inputs_[device];
    std::lock_guard lock(d.mutex);
    if (!d.open || !d.started) return false;
    d.callback(d.context, kind, m);
    return true;
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

void VirtualMidiBackend::FailNextOpen(uint32_t result) {
    std::lock_guard lock(failuresMutex_);
    openFailures_.push_back(result);
}

void VirtualMidiBackend::FailNextClose(uint32_t result) {
    std::lock_guard lock(failuresMutex_);
    closeFailures_.push_back(result);
}

uint32_t VirtualMidiBackend::TakeFailure(std::deque<uint32_t>& failures) {
    std::lock_guard lock(failuresMutex_);
    if (failures.empty()) return kMidiOk;
    const uint32_t result = failures.front();
    failures.pop_front();
    return result;
}

std::string VirtualMidiBackend::InputPortName(uint32_t device) const {
    const InputDevice& d = *inputs_.at(device);
    std::lock_guard lock(d.mutex);
    return d.open ? d.portName : "";
}

std::string VirtualMidiBackend::OutputPortName(uint32_t device) const {
    const OutputDevice& d = *outputs_.at(device);
    std::lock_guard lock(d.mutex);
    return d.open ? d.portName : "";
}

std::vector<std::string> VirtualMidiBackend::InputNames() {
    std::vector<std::string> names;
    for (const auto& d : inputs_) names.push_back(d->name);
    return names;
}

std::vector<std::string> VirtualMidiBackend::OutputNames() {
    std::vector<std::string> names;
    for (const auto& d : outputs_) names.push_back(d->name);
    return names;
}

uint32_t VirtualMidiBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                       void* context, std::unique_ptr<MidiInputPort>& handle) {
    if (const uint32_t failure = TakeFailure(openFailures_)) return failure;
    if (device >= inputs_.size()) return kMidiBadDeviceId;
    InputDevice& d = *inputs_[device];
    std::lock_guard lock(d.mutex);
    if (d.open) return kMidiAllocated;
    d.open = true;
    d.started = false;
    d.portName = portName;
    d.callback = callback;
    d.context = context;
    handle = std::make_unique<VirtualInput>(d);
    return kMidiOk;
}

uint32_t VirtualMidiBackend::StartInput(MidiInputPort& port) {
    InputDevice& d = static_cast<VirtualInput&>(port).device;
    std::lock_guard lock(d.mutex);
    d.started = true;
    return kMidiOk;
}

uint32_t VirtualMidiBackend::CloseInput(std::unique_ptr<MidiInputPort>& handle) {
    if (const uint32_t failure = TakeFailure(closeFailures_)) return failure;
    if (!handle) return kMidiInvalidHandle;
    InputDevice& d = static_cast<VirtualInput&>(*handle).device;
    {
        std::lock_guard lock(d.mutex);
        d.open = false;
        d.started = false;
    }
    handle.reset();
    return kMidiOk;
}

uint32_t VirtualMidiBackend::OpenOutput(uint32_t device, const std::string& portName,
                                        std::unique_ptr<MidiOutputPort>& handle) {
    if (const uint32_t failure = TakeFailure(openFailures_)) return failure;
    if (device >= outputs_.size()) return kMidiBadDeviceId;
    OutputDevice& d = *outputs_[device];
    std::lock_guard lock(d.mutex);
    if (d.open) return kMidiAllocated;
    d.open = true;
    d.portName = portName;
    handle = std::make_unique<VirtualOutput>(d);
    return kMidiOk;
}

uint32_t VirtualMidiBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (const uint32_t failure = TakeFailure(closeFailures_)) return failure;
    if (!handle) return kMidiInvalidHandle;
    OutputDevice& d = static_cast<VirtualOutput&>(*handle).device;
    {
        std::lock_guard lock(d.mutex);
        d.open = false;
    }
    handle.reset();
    return kMidiOk;
}

}  // namespace cadenzo
