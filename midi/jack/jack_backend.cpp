#include "midi/jack/jack_backend.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "midi/jack/jack_ports.h"
#include "midi/port_names.h"

namespace cadenzo {

namespace {

// How long a closing output waits at most for its queued messages to be
// written: a few cycles of the longest period in use.
constexpr auto kDrainLimit = std::chrono::milliseconds(200);
// How long an opening output waits at most for its connection to be in
// force in a process cycle (the engine plays on meanwhile).
constexpr auto kConnectionLimit = std::chrono::milliseconds(500);

std::vector<std::string> Names(const std::vector<JackListedPort>& ports) {
    std::vector<std::string> names;
    for (const JackListedPort& port : ports) names.push_back(port.name);
    return names;
}

}  // namespace

JackBackend::JackBackend(const std::string& clientName)
    : queues_(std::make_unique<std::array<OutputQueue, kJackOutputCount>>()),
      client_(clientName, deviceChanges_, bindings_, *queues_) {}

JackBackend::~JackBackend() = default;

std::optional<MidiService> JackBackend::AnsweringService() const {
    return client_.Alive() ? std::optional(MidiService::Jack) : std::nullopt;
}

std::vector<std::string> JackBackend::InputNames() {
    inputs_ = client_.Ports(true);
    return Names(inputs_);
}

std::vector<std::string> JackBackend::OutputNames() {
    outputs_ = client_.Ports(false);
    return Names(outputs_);
}

std::string JackBackend::ListedNameOf(bool input, const std::string& nameOrAlias) const {
    for (const JackListedPort& port : input ? inputs_ : outputs_) {
        if (port.name == nameOrAlias) return port.name;
        if (std::find(port.aliases.begin(), port.aliases.end(), nameOrAlias) != port.aliases.end()) return port.name;
    }
    return nameOrAlias;
}

MidiResult JackBackend::Join(bool input, uint32_t device, size_t index, const std::string& portName) {
    const std::vector<JackListedPort>& listed = input ? inputs_ : outputs_;
    if (device >= listed.size()) return kMidiBadDeviceId;
    if (!client_.Alive()) return kMidiNoDevice;
    const JackListedPort& port = listed[device];
    const std::optional<jack_uuid_t> uuid = client_.PortUuid(port.name);
    if (!uuid || jack_uuid_compare(*uuid, port.uuid) != 0) return kMidiBadDeviceId;  // gone since listed
    const std::optional<std::string> own = client_.OwnPortName(index);
    if (!own) return kMidiNoDevice;
    const JackClient::Joining joining = input ? client_.Connect(port.name, *own) : client_.Connect(*own, port.name);
    if (joining == JackClient::Joining::kFailed) return kMidiAllocated;
    joined_[portName] = {port.name, port.uuid, input, client_.PortsGone(), joining == JackClient::Joining::kMade};
    return kMidiOk;
}

void JackBackend::Part(size_t index, const std::string& portName) {
    const auto it = joined_.find(portName);
    if (it == joined_.end()) return;
    // A connection someone else made stays as they made it.
    const std::optional<std::string> own = it->second.ours ? client_.OwnPortName(index) : std::nullopt;
    if (own) {
        if (it->second.input)
            client_.Disconnect(it->second.device, *own);
        else
            client_.Disconnect(*own, it->second.device);
    }
    joined_.erase(it);
}

bool JackBackend::StillJoined(size_t index, const Joined& joined) {
    const std::optional<std::string> own = client_.OwnPortName(index);
    if (!own) return false;
    return joined.input ? client_.Joined(joined.device, *own) : client_.Joined(*own, joined.device);
}

MidiResult JackBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                void* context, std::unique_ptr<MidiInputPort>& handle) {
    const std::optional<size_t> index = PortIndex(portName);
    if (!index || *index >= kJackInputCount || callback == nullptr) return kMidiInvalidParam;
    const MidiResult result = Join(true, device, *index, portName);
    if (result != kMidiOk) return result;
    bindings_.Bind(*index, callback, context);
    handle = std::make_unique<JackInput>(*index);
    return kMidiOk;
}

MidiResult JackBackend::StartInput(MidiInputPort& port) {
    bindings_.Start(static_cast<JackInput&>(port).Port());
    return kMidiOk;
}

MidiResult JackBackend::CloseInput(std::unique_ptr<MidiInputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    const size_t index = static_cast<JackInput&>(*handle).Port();
    bindings_.Unbind(index);  // the callback no longer runs from here on
    Part(index, kPortNames[index]);
    handle.reset();
    return kMidiOk;
}

MidiResult JackBackend::OpenOutput(uint32_t device, const std::string& portName,
                                 std::unique_ptr<MidiOutputPort>& handle) {
    const std::optional<size_t> index = PortIndex(portName);
    if (!index || *index < kJackInputCount) return kMidiInvalidParam;
    const size_t output = *index - kJackInputCount;
    const uint64_t before = client_.OutputJoins(output);
    const MidiResult result = Join(false, device, *index, portName);
    if (result != kMidiOk) return result;
    // The server puts a new connection in force at the start of a later
    // cycle: what is sent before that goes nowhere (on a loaded machine, a
    // whole start-up set). Wait until a cycle has run with it. One that
    // someone else made is in force already.
    if (joined_[portName].ours) AwaitOutputConnection(output, before);
    handle = std::make_unique<JackOutput>(output, (*queues_)[output]);
    return kMidiOk;
}

void JackBackend::AwaitOutputConnection(size_t output, uint64_t before) const {
    const auto deadline = std::chrono::steady_clock::now() + kConnectionLimit;
    const auto step = std::max(client_.Period(), std::chrono::microseconds(500));
    const auto waiting = [&] { return client_.Alive() && std::chrono::steady_clock::now() < deadline; };
    while (client_.OutputJoins(output) <= before && waiting()) std::this_thread::sleep_for(step);
    // The server announces a connection before the cycle that switches to
    // the graph with it: two whole cycles later it is in force.
    const uint64_t announced = client_.Cycles();
    while (client_.Cycles() < announced + 2 && waiting()) std::this_thread::sleep_for(step);
}

void JackBackend::Drain(size_t output) const {
    const auto deadline = std::chrono::steady_clock::now() + kDrainLimit;
    const auto step = std::max(client_.Period(), std::chrono::microseconds(500));
    while ((*queues_)[output].Pending() && client_.Alive() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(step);
}

MidiResult JackBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    const size_t output = static_cast<JackOutput&>(*handle).Port();
    // What was sent before the close (the last note-offs) still reaches the device.
    Drain(output);
    Part(kJackInputCount + output, kPortNames[kJackInputCount + output]);
    handle.reset();
    return kMidiOk;
}

std::optional<uint32_t> JackBackend::ListedPlace(const std::string& portName) {
    const auto it = joined_.find(portName);
    if (it == joined_.end()) return std::nullopt;
    const std::vector<JackListedPort>& listed = it->second.input ? inputs_ : outputs_;
    // A port of the same name that came back is another port: a new uuid.
    const auto place = std::find_if(listed.begin(), listed.end(), [&](const JackListedPort& port) {
        return port.name == it->second.device && jack_uuid_compare(port.uuid, it->second.uuid) == 0;
    });
    if (place == listed.end()) return std::nullopt;
    // A connection broken while no port left was broken by someone else
    // (a patchbay), and the device is still the one the program joined.
    if (client_.PortsGone() != it->second.portsGone && !StillJoined(*PortIndex(portName), it->second))
        return std::nullopt;
    return static_cast<uint32_t>(place - listed.begin());
}

bool JackBackend::StartCycleTick(void (*tick)(void*), void* user, bool (*idle)(void*)) {
    bindings_.SetTick({tick, user, idle});
    return true;
}

void JackBackend::StopCycleTick() { bindings_.SetTick({}); }

uint64_t JackBackend::LostMessages(size_t port) const {
    if (port < kJackInputCount || port >= kJackPortCount) return 0;
    return (*queues_)[port - kJackInputCount].Lost();
}

}  // namespace cadenzo
