#include "midi/rtmidi/jack_watch.h"

#include <chrono>
#include <string_view>
#include <utility>

namespace cadenzo {

namespace {

constexpr const char* kWatchClient = "Cadenzo watch";
// How often the watch thread looks for work: a dead client to close, a
// server to reach again, a change to look at again.
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
// How long after a port came or went the lists are looked at again.
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

JackWatch::JackWatch(InputWake& changes, const std::atomic<int>& clients) : changes_(changes), clients_(clients) {
    jack_set_error_function(&Silent);
    jack_set_info_function(&Silent);
    Reach();
    thread_ = std::thread(&JackWatch::Run, this);
}

JackWatch::~JackWatch() {
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    LetGo();
}

void JackWatch::Run() {
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
        BuryTheDead();
        if (!Alive() && clients_.load() == 0 && now >= nextReach) {
            nextReach = now + kReachPeriod;
            if (Reach()) changes_.Signal();
        }
        lock.lock();
        if (!stopping_) wake_.wait_for(lock, kWatchPeriod);
    }
}

bool JackWatch::Settled(std::chrono::steady_clock::time_point now) {
    int64_t at = settleAt_.load();
    return at != 0 && Nanoseconds(now) >= at && settleAt_.compare_exchange_strong(at, 0);
}

void JackWatch::BuryTheDead() {
    std::vector<std::shared_ptr<void>> dead;
    {
        std::lock_guard lock(graveMutex_);
        dead.swap(graveyard_);
    }
    dead.clear();  // an output of a dead server waits up to a second for its last cycle
}

bool JackWatch::Reach() {
    jack_client_t* client = jack_client_open(kWatchClient, JackNoStartServer, nullptr);
    if (client == nullptr) return false;
    jack_set_port_registration_callback(client, &JackWatch::OnPortRegistration, this);
    jack_set_port_rename_callback(client, &JackWatch::OnPortRename, this);
    jack_on_info_shutdown(client, &JackWatch::OnShutdown, this);
    if (jack_activate(client) != 0) {
        jack_client_close(client);
        return false;
    }
    std::lock_guard lock(clientMutex_);
    client_ = client;
    alive_.store(true, std::memory_order_release);
    return true;
}

void JackWatch::LetGo() {
    jack_client_t* client = nullptr;
    {
        std::lock_guard lock(clientMutex_);
        alive_.store(false, std::memory_order_release);
        client = std::exchange(client_, nullptr);
    }
    if (client != nullptr) jack_client_close(client);
}

void JackWatch::Notify() {
    std::lock_guard lock(wakeMutex_);
    wake_.notify_one();
}

std::vector<std::string> JackWatch::Ports(unsigned long flags) {
    std::vector<std::string> names;
    std::lock_guard lock(clientMutex_);
    if (client_ == nullptr || !Alive()) return names;
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (ports == nullptr) return names;
    for (const char** p = ports; *p != nullptr; ++p) names.emplace_back(*p);
    jack_free(ports);
    return names;
}

bool JackWatch::Joined(const std::string& device, const std::string& ourClient, const std::string& ourPort) {
    std::lock_guard lock(clientMutex_);
    if (client_ == nullptr || !Alive()) return false;
    const jack_port_t* port = jack_port_by_name(client_, device.c_str());
    if (port == nullptr) return false;
    const char** links = jack_port_get_all_connections(client_, port);
    if (links == nullptr) return false;
    const std::string end = ":" + ourPort;
    bool joined = false;
    for (const char** link = links; *link != nullptr; ++link) {
        const std::string_view name = *link;
        joined |= name.starts_with(ourClient) && name.ends_with(end);
    }
    jack_free(links);
    return joined;
}

void JackWatch::Bury(std::shared_ptr<void> client) {
    {
        std::lock_guard lock(graveMutex_);
        graveyard_.push_back(std::move(client));
    }
    Notify();
}

void JackWatch::OnPortRegistration(jack_port_id_t, int, void* self) {
    auto& watch = *static_cast<JackWatch*>(self);
    watch.changes_.Signal();
    watch.settleAt_.store(Nanoseconds(std::chrono::steady_clock::now() + kSettle));
}

void JackWatch::OnPortRename(jack_port_id_t, const char*, const char*, void* self) {
    OnPortRegistration(0, 0, self);
}

// Runs as a signal handler would: atomics and the wake's write only. The
// watch thread closes the dead client at its next look.
void JackWatch::OnShutdown(jack_status_t, const char*, void* self) {
    auto& watch = *static_cast<JackWatch*>(self);
    watch.alive_.store(false, std::memory_order_release);
    watch.lost_.store(true, std::memory_order_release);
    watch.changes_.Signal();
}

}  // namespace cadenzo
