#include "midi/alsa/alsa_backend.h"

#include <algorithm>
#include <chrono>

#include <poll.h>

#include "midi/port_names.h"

namespace cadenzo {

namespace {

constexpr unsigned kSourceCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned kSinkCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

class AlsaInput final : public MidiInputPort {
public:
    AlsaInput(size_t index, MidiInputCallback callback, void* context)
        : index_(index), callback_(callback), context_(context) {}
    size_t Index() const { return index_; }
    void Start(InputDelivery& delivery) const { delivery.Start(index_, callback_, context_); }

private:
    size_t index_;
    MidiInputCallback callback_;
    void* context_;
};

// How long a closing port waits for its queue to drain.
constexpr std::chrono::milliseconds kCloseDrain{1000};

class AlsaOutput final : public MidiOutputPort {
public:
    AlsaOutput(size_t index, snd_seq_t* seq, int port, int serviceFd, int receiver, std::atomic<uint64_t>& lost,
               OutputSender& sender)
        : index_(index), paced_(seq, port, serviceFd, receiver, lost, sender.Wake()), sender_(sender) {
        sender_.Add(index_, paced_);
    }
    // Whatever is still queued once the port stops draining is counted.
    ~AlsaOutput() override { sender_.Remove(paced_, kCloseDrain); }
    size_t Index() const { return index_; }

    // To every subscriber of the port, paced toward the device.
    void Send(ShortMessage m) override { paced_.Send(m); }
    bool Backlogged() const override { return paced_.Backlogged(); }

private:
    size_t index_;
    PacedOutput paced_;
    OutputSender& sender_;
};

}  // namespace

AlsaBackend::AlsaBackend(const std::string& clientName) : client_(clientName) {
    if (client_.Handle() == nullptr) return;
    input_ = std::make_unique<SequencerInput>(client_, delivery_, deviceChanges_);
    sender_ = std::make_unique<OutputSender>();
}

AlsaBackend::~AlsaBackend() = default;

std::optional<MidiService> AlsaBackend::AnsweringService() const {
    return client_.Handle() != nullptr ? std::optional(MidiService::Alsa) : std::nullopt;
}

std::vector<std::string> AlsaBackend::List(bool inputs) {
    std::vector<SequencerPort>& listed = inputs ? inputs_ : outputs_;
    if (client_.Handle() == nullptr) return {};
    // A device of an input sends to the program; one of an output receives from it.
    listed = ListSequencerPorts(client_.Service(), client_.Address(0).client, inputs ? kSourceCaps : kSinkCaps);
    std::vector<std::string> names;
    for (const SequencerPort& port : listed) names.push_back(port.name);
    return names;
}

std::vector<std::string> AlsaBackend::InputNames() { return List(true); }

std::vector<std::string> AlsaBackend::OutputNames() { return List(false); }

int AlsaBackend::ServiceFd() const {
    pollfd descriptor{-1, 0, 0};
    return snd_seq_poll_descriptors(client_.Service(), &descriptor, 1, POLLOUT) == 1 ? descriptor.fd : -1;
}

MidiResult AlsaBackend::Join(size_t index, uint32_t device, bool input) {
    snd_seq_t* seq = client_.Service();
    if (seq == nullptr) return kMidiNoDevice;
    const std::vector<SequencerPort>& listed = input ? inputs_ : outputs_;
    if (device >= listed.size()) return kMidiBadDeviceId;
    if (joined_[index]) return kMidiAllocated;
    try {
        const std::vector<SequencerPort> now = ListSequencerPorts(seq, client_.Address(0).client, input ? kSourceCaps : kSinkCaps);
        const SequencerPort* port = FindListedPort(now, listed, device);
        if (port == nullptr) return kMidiBadDeviceId;
        std::optional<Refusal>& refused = refused_[index];
        const uint64_t announcements = input_->Announcements();
        if (refused && refused->announcements == announcements && refused->device.client == port->address.client &&
            refused->device.port == port->address.port)
            return kMidiAllocated;
        const snd_seq_addr_t own = client_.Address(index);
        const Subscription subscription = input ? Subscription{port->address, own} : Subscription{own, port->address};
        const Subscribed made = Subscribe(seq, subscription);
        refused.reset();
        if (made == Subscribed::Refused) {
            refused = Refusal{port->address, announcements};
            return kMidiAllocated;
        }
        joined_[index] = Joined{subscription, made == Subscribed::Made};
        return kMidiOk;
    } catch (const std::bad_alloc&) {
        return kMidiNoMemory;
    }
}

void AlsaBackend::Leave(size_t index) {
    // A subscription someone else made stays as they made it.
    if (joined_[index] && joined_[index]->ours) Unsubscribe(client_.Service(), joined_[index]->subscription);
    joined_[index].reset();
}

MidiResult AlsaBackend::OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                                void* context, std::unique_ptr<MidiInputPort>& handle) {
    const std::optional<size_t> index = PortIndex(portName);
    if (!index || *index >= kInputPortCount) return kMidiInvalidParam;
    const MidiResult result = Join(*index, device, true);
    if (result == kMidiOk) handle = std::make_unique<AlsaInput>(*index, callback, context);
    return result;
}

MidiResult AlsaBackend::StartInput(MidiInputPort& port) {
    static_cast<AlsaInput&>(port).Start(delivery_);
    return kMidiOk;
}

MidiResult AlsaBackend::CloseInput(std::unique_ptr<MidiInputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    const size_t index = static_cast<AlsaInput&>(*handle).Index();
    delivery_.Silence(index);
    Leave(index);
    handle.reset();
    return kMidiOk;
}

MidiResult AlsaBackend::OpenOutput(uint32_t device, const std::string& portName,
                                 std::unique_ptr<MidiOutputPort>& handle) {
    const std::optional<size_t> index = PortIndex(portName);
    if (!index || *index < kInputPortCount) return kMidiInvalidParam;
    const MidiResult result = Join(*index, device, false);
    if (result == kMidiOk)
        handle = std::make_unique<AlsaOutput>(*index, client_.Handle(), client_.Address(*index).port, ServiceFd(),
                                              joined_[*index]->subscription.dest.client, lost_[*index], *sender_);
    return result;
}

MidiResult AlsaBackend::CloseOutput(std::unique_ptr<MidiOutputPort>& handle) {
    if (!handle) return kMidiInvalidHandle;
    const size_t index = static_cast<AlsaOutput&>(*handle).Index();
    handle.reset();  // what it queued goes first
    Leave(index);
    return kMidiOk;
}

std::optional<ClientPort> AlsaBackend::ClientPortOf(bool input, uint32_t device) const {
    const std::vector<SequencerPort>& listed = input ? inputs_ : outputs_;
    if (device >= listed.size()) return std::nullopt;
    return ClientPort{listed[device].client, listed[device].address.port};
}

std::optional<uint32_t> AlsaBackend::ListedPlace(const std::string& portName) {
    const std::optional<size_t> index = PortIndex(portName);
    if (!index || !joined_[*index] || !InForce(client_.Service(), joined_[*index]->subscription)) return std::nullopt;
    const bool input = *index < kInputPortCount;
    const Subscription& joined = joined_[*index]->subscription;
    const snd_seq_addr_t device = input ? joined.sender : joined.dest;
    const std::vector<SequencerPort>& listed = input ? inputs_ : outputs_;
    const auto place = std::find_if(listed.begin(), listed.end(), [&](const SequencerPort& port) {
        return port.address.client == device.client && port.address.port == device.port;
    });
    if (place == listed.end()) return std::nullopt;
    return static_cast<uint32_t>(place - listed.begin());
}

}  // namespace cadenzo
