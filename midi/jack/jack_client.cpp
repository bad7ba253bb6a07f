#include "midi/jack/jack_client.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "midi/jack/jack_port_buffer.h"
#include "midi/jack/port_metadata.h"
#include "midi/port_names.h"
#include "midi/send_time.h"

namespace cadenzo {

namespace {

// How often the watch thread looks for work: a dead client to close, a
// server to reach again, a change to look at again.
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
// The server may announce a port's end before the port has left its lists:
// the lists are looked at again this long after a port came or went.
constexpr auto kSettle = std::chrono::milliseconds(50);
// How often the lists are looked at in any case.
constexpr auto kLookPeriod = std::chrono::seconds(1);
// How often a server that went away is looked for.
constexpr auto kReachPeriod = std::chrono::milliseconds(250);

int64_t Nanoseconds(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void Silent(const char*) {}

}  // namespace

JackClient::JackClient(std::string name, InputWake& changes, InputBindings& inputs,
                       std::array<OutputQueue, kJackOutputCount>& outputs)
    : name_(std::move(name)), changes_(changes), inputs_(inputs), outputs_(outputs) {
    jack_set_error_function(&Silent);
    jack_set_info_function(&Silent);
    Reach();
    thread_ = std::thread(&JackClient::Run, this);
}

JackClient::~JackClient() {
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    LetGo();
}

void JackClient::Run() {
    auto nextLook = std::chrono::steady_clock::now();
    auto nextReach = nextLook;
    std::unique_lock lock(wakeMutex_);
    while (!stopping_) {
        lock.unlock();
        const auto now = std::chrono::steady_clock::now();
        if (lost_.exchange(false)) LetGo();
        if (Alive() && (Settled(now) || now >= nextLook)) {
            changes_.Signal();
            nextLook = now + kLookPeriod;
        }
        // A dead client is closed before a new one opens (libjack cannot
        // have both): the shutdown callback may be between its two stores.
        if (!Alive() && !lost_.load(std::memory_order_acquire) && now >= nextReach) {
            nextReach = now + kReachPeriod;
            if (Reach()) changes_.Signal();
        }
        lock.lock();
        if (!stopping_) wake_.wait_for(lock, kWatchPeriod);
    }
}

bool JackClient::Settled(std::chrono::steady_clock::time_point now) {
    int64_t at = settleAt_.load();
    return at != 0 && Nanoseconds(now) >= at && settleAt_.compare_exchange_strong(at, 0);
}

bool JackClient::Reach() {
    auto session = std::make_unique<Session>();
    session->client = jack_client_open(name_.c_str(), JackNoStartServer, nullptr);
    if (session->client == nullptr) return false;
    jack_client_t* client = session->client;
    session->name = jack_get_client_name(client);
    session->rate = jack_get_sample_rate(client);
    bool registered = true;
    for (size_t i = 0; i < kJackPortCount; ++i) {
        const unsigned long direction = i < kJackInputCount ? JackPortIsInput : JackPortIsOutput;
        session->ports[i] = jack_port_register(client, kPortNames[i], JACK_DEFAULT_MIDI_TYPE, direction, 0);
        registered &= session->ports[i] != nullptr;
    }
    clock_ = CycleClock();  // before the process callback runs
    processing_.store(session.get(), std::memory_order_release);
    jack_set_process_callback(client, &JackClient::Process, this);
    jack_set_port_registration_callback(client, &JackClient::OnPortRegistration, this);
    jack_set_port_rename_callback(client, &JackClient::OnPortRename, this);
    jack_set_port_connect_callback(client, &JackClient::OnPortConnect, this);
    jack_on_info_shutdown(client, &JackClient::OnShutdown, this);
    if (!registered || jack_activate(client) != 0) {
        jack_client_close(client);
        processing_.store(nullptr, std::memory_order_release);
        return false;
    }
    DescribePorts(client, session->ports);
    clientPriority_.store(std::max(jack_client_real_time_priority(client), 0), std::memory_order_release);
    std::lock_guard lock(sessionMutex_);
    session_ = std::move(session);
    alive_.store(true, std::memory_order_release);
    return true;
}

void JackClient::LetGo() {
    std::unique_ptr<Session> session;
    {
        std::lock_guard lock(sessionMutex_);
        alive_.store(false, std::memory_order_release);
        clientPriority_.store(0, std::memory_order_release);
        session = std::move(session_);
    }
    if (!session) return;
    // Closing a dead server's client waits in vain for a last cycle for a
    // while: never on the main thread's way.
    jack_client_close(session->client);
    portsGone_.fetch_add(1, std::memory_order_acq_rel);  // every port of the server went with it
    processing_.store(nullptr, std::memory_order_release);
}

std::vector<JackListedPort> JackClient::Ports(bool sources) {
    std::vector<JackListedPort> listed;
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return listed;
    jack_client_t* client = session_->client;
    const char** names =
        jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, sources ? JackPortIsOutput : JackPortIsInput);
    if (names == nullptr) return listed;
    const std::string own = session_->name + ":";
    std::vector<char> first(static_cast<size_t>(jack_port_name_size()));
    std::vector<char> second(first.size());
    for (const char** name = names; *name != nullptr; ++name) {
        const jack_port_t* port = jack_port_by_name(client, *name);
        if (port == nullptr || std::string_view(*name).starts_with(own)) continue;
        char* aliases[2] = {first.data(), second.data()};
        const int count = jack_port_get_aliases(port, aliases);
        JackListedPort entry{*name, {}, jack_port_uuid(port)};
        for (int i = 0; i < count && i < 2; ++i) entry.aliases.emplace_back(aliases[i]);
        listed.push_back(std::move(entry));
    }
    jack_free(names);
    return listed;
}

std::optional<std::string> JackClient::OwnPortName(size_t index) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || index >= kJackPortCount) return std::nullopt;
    return std::string(jack_port_name(session_->ports[index]));
}

std::optional<jack_uuid_t> JackClient::PortUuid(const std::string& name) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return std::nullopt;
    const jack_port_t* port = jack_port_by_name(session_->client, name.c_str());
    if (port == nullptr) return std::nullopt;
    return jack_port_uuid(port);
}

bool JackClient::Connect(const std::string& source, const std::string& destination) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return false;
    const int result = jack_connect(session_->client, source.c_str(), destination.c_str());
    return result == 0 || result == EEXIST;
}

void JackClient::Disconnect(const std::string& source, const std::string& destination) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return;
    const jack_port_t* port = jack_port_by_name(session_->client, source.c_str());
    if (port != nullptr && jack_port_connected_to(port, destination.c_str()))
        jack_disconnect(session_->client, source.c_str(), destination.c_str());
}

bool JackClient::Joined(const std::string& source, const std::string& destination) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return false;
    const jack_port_t* port = jack_port_by_name(session_->client, source.c_str());
    return port != nullptr && jack_port_connected_to(port, destination.c_str());
}

int JackClient::Process(jack_nframes_t frames, void* arg) {
    auto& self = *static_cast<JackClient*>(arg);
    const Session* session = self.processing_.load(std::memory_order_acquire);
    if (session == nullptr) return 0;
    const auto& ports = session->ports;
    std::array<JackPortBuffer, kJackInputCount> in{JackPortBuffer(ports[0], frames, false),
                                                   JackPortBuffer(ports[1], frames, false),
                                                   JackPortBuffer(ports[2], frames, false)};
    std::array<JackPortBuffer, kJackOutputCount> out{JackPortBuffer(ports[3], frames, true),
                                                     JackPortBuffer(ports[4], frames, true),
                                                     JackPortBuffer(ports[5], frames, true)};
    const CycleTimes times = self.clock_.Next(frames, session->rate, SteadyMicros());
    self.periodMicros_.store(static_cast<int64_t>(times.startMicros - times.previousStartMicros),
                             std::memory_order_relaxed);
    for (size_t o = 0; o < kJackOutputCount; ++o)
        self.cycleConnections_[o].store(jack_port_connected(ports[kJackInputCount + o]), std::memory_order_release);
    RunCycle({&in[0], &in[1], &in[2]}, {&out[0], &out[1], &out[2]}, self.inputs_, self.outputs_, times);
    return 0;
}

int JackClient::OutputConnections(size_t output) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return -1;
    return jack_port_connected(session_->ports[kJackInputCount + output]);
}

void JackClient::OnPortRegistration(jack_port_id_t, int registered, void* arg) {
    auto& self = *static_cast<JackClient*>(arg);
    if (registered == 0) self.portsGone_.fetch_add(1, std::memory_order_acq_rel);
    self.changes_.Signal();
    self.settleAt_.store(Nanoseconds(std::chrono::steady_clock::now() + kSettle));
}

void JackClient::OnPortRename(jack_port_id_t, const char*, const char*, void* arg) {
    OnPortRegistration(0, 1, arg);
}

void JackClient::OnPortConnect(jack_port_id_t, jack_port_id_t, int, void* arg) {
    static_cast<JackClient*>(arg)->changes_.Signal();
}

// Runs as a signal handler would: atomics and the wake's write only. The
// watch thread closes the dead client at its next look.
void JackClient::OnShutdown(jack_status_t, const char*, void* arg) {
    auto& self = *static_cast<JackClient*>(arg);
    self.lost_.store(true, std::memory_order_release);  // first: whoever sees the client dead sees it lost
    self.alive_.store(false, std::memory_order_release);
    self.changes_.Signal();
}

}  // namespace cadenzo
