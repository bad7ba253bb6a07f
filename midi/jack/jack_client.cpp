#include "midi/jack/jack_client.h"

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#include "midi/jack/jack_port_buffer.h"
#include "midi/jack/port_metadata.h"
#include "midi/port_names.h"
#include "midi/send_placement.h"

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
// How long a close waits at most for the process cycle under way to end.
constexpr auto kLastCycleLimit = std::chrono::milliseconds(200);

int64_t Nanoseconds(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void Silent(const char*) {}

}  // namespace

JackClient::JackClient(std::string name, ThreadWake& changes, InputBindings& inputs,
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
    rate_.store(jack_get_sample_rate(client), std::memory_order_relaxed);
    closing_.store(false, std::memory_order_release);
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
    jack_set_sample_rate_callback(client, &JackClient::OnSampleRate, this);
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
    // Closing cancels the process thread, which may be inside the callback:
    // the callback plays no more from its next cycle, and the one under way
    // ends first (unless the server is gone and no cycle will end).
    closing_.store(true, std::memory_order_seq_cst);
    const uint64_t cycle = inCallback_.load(std::memory_order_seq_cst);
    const auto deadline = std::chrono::steady_clock::now() + kLastCycleLimit;
    while (cycle % 2 == 1 && inCallback_.load(std::memory_order_acquire) == cycle && !lost_.load() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
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

JackClient::Joining JackClient::Connect(const std::string& source, const std::string& destination) {
    std::lock_guard lock(sessionMutex_);
    if (!session_ || !Alive()) return Joining::kFailed;
    // The server's answer, not the library's view of the graph, which lags
    // behind a connection just broken.
    const int result = jack_connect(session_->client, source.c_str(), destination.c_str());
    if (result == 0) return Joining::kMade;
    return result == EEXIST || result == -EEXIST ? Joining::kFound : Joining::kFailed;
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
    std::array<JackPortBuffer, kJackOutputCount> out{JackPortBuffer(ports[3], frames, true),
                                                     JackPortBuffer(ports[4], frames, true),
                                                     JackPortBuffer(ports[5], frames, true)};
    // Counted in before the closing flag is read: a close that saw no cycle
    // under way knows that every later one sees the flag.
    self.inCallback_.fetch_add(1, std::memory_order_seq_cst);
    if (!self.closing_.load(std::memory_order_seq_cst)) {
        std::array<JackPortBuffer, kJackInputCount> in{JackPortBuffer(ports[0], frames, false),
                                                       JackPortBuffer(ports[1], frames, false),
                                                       JackPortBuffer(ports[2], frames, false)};
        const CycleTimes times =
            self.clock_.Next(frames, self.rate_.load(std::memory_order_relaxed), SteadyMicros());
        self.periodMicros_.store(static_cast<int64_t>(times.startMicros - times.previousStartMicros),
                                 std::memory_order_relaxed);
        RunCycle({&in[0], &in[1], &in[2]}, {&out[0], &out[1], &out[2]}, self.inputs_, self.outputs_, times);
    }
    self.inCallback_.fetch_add(1, std::memory_order_release);
    return 0;
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

// On libjack's notification thread: each output's new connections are
// counted as the server announces them, so nobody asks the library whether
// a connection is in force.
void JackClient::OnPortConnect(jack_port_id_t a, jack_port_id_t b, int connected, void* arg) {
    auto& self = *static_cast<JackClient*>(arg);
    const Session* session = self.processing_.load(std::memory_order_acquire);
    if (session != nullptr && connected != 0) {
        const jack_port_t* first = jack_port_by_id(session->client, a);
        const jack_port_t* second = jack_port_by_id(session->client, b);
        for (size_t o = 0; o < kJackOutputCount; ++o) {
            const jack_port_t* own = session->ports[kJackInputCount + o];
            if (own == first || own == second) self.joins_[o].fetch_add(1, std::memory_order_acq_rel);
        }
    }
    self.changes_.Signal();
}

// The server's period and rate may change at any time (PipeWire's does).
// The cycle clock starts afresh at the first cycle of a new period or rate
// (the process callback is told its frames); stamps and the tick's frame
// count go by the new ones from there.
int JackClient::OnSampleRate(jack_nframes_t rate, void* arg) {
    static_cast<JackClient*>(arg)->rate_.store(rate, std::memory_order_relaxed);
    return 0;
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
