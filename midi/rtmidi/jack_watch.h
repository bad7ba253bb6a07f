// Watches a JACK server through a client of its own ("Cadenzo watch"): ports
// coming and going, and the server itself stopping and coming back. Its
// callbacks run on libjack's notification thread (never the process thread)
// and only signal. The server may announce a port's end before the port has
// left its lists, so the watch signals again a little later, and once a
// second in any case. A thread of its own closes the dead server's clients,
// whose closing waits in vain for a process cycle, and reaches for a server
// of the same name again every so often; it opens a new client only once no
// client of the dead server is left, since libjack may crash when a new
// client meets a dead one in the same process.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <jack/jack.h>

#include "midi/input_wake.h"

namespace cadenzo {

class JackWatch {
public:
    // Reaches for the server at once, then watches. `changes` is signalled
    // on every change; `clients` counts the program's other clients of the
    // server (the watch reconnects only while it is 0).
    JackWatch(InputWake& changes, const std::atomic<int>& clients);
    ~JackWatch();
    JackWatch(const JackWatch&) = delete;
    JackWatch& operator=(const JackWatch&) = delete;

    // Any thread: the server answers. False from the moment it goes away
    // until the watch has reached a server again.
    bool Alive() const { return alive_.load(std::memory_order_acquire); }
    const std::atomic<bool>& AliveFlag() const { return alive_; }

    // Main thread: the full names of the server's MIDI ports with `flags`, in
    // its order; none while it is gone.
    std::vector<std::string> Ports(unsigned long flags);
    // Main thread: the port called `device` is connected to the program's
    // port `ourPort` of client `ourClient` (or of that name with a suffix the
    // server added to tell two clients of one name apart).
    bool Joined(const std::string& device, const std::string& ourClient, const std::string& ourPort);

    // Any thread: a client of a dead server, to be closed off the main
    // thread. It counts among `clients` until it is gone.
    void Bury(std::shared_ptr<void> client);

private:
    void Run();
    bool Reach();  // opens the watch client; whether the server answered
    void LetGo();  // closes the watch client
    // A port came or went a little while before `now`: time to look again.
    bool Settled(std::chrono::steady_clock::time_point now);
    // Closes the dead server's clients handed over by Bury.
    void BuryTheDead();
    void Notify();

    static void OnPortRegistration(jack_port_id_t, int, void* self);
    static void OnPortRename(jack_port_id_t, const char*, const char*, void* self);
    static void OnShutdown(jack_status_t, const char*, void* self);

    InputWake& changes_;
    const std::atomic<int>& clients_;
    std::atomic<bool> alive_{false};
    std::atomic<bool> lost_{false};  // the server went away; the watch client is dead
    // When to look again after a port came or went (steady clock, ns; 0: no need).
    std::atomic<int64_t> settleAt_{0};

    std::mutex clientMutex_;  // the watch client: main thread reads, the watch thread opens and closes
    jack_client_t* client_ = nullptr;

    std::mutex graveMutex_;
    std::vector<std::shared_ptr<void>> graveyard_;

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool stopping_ = false;  // under wakeMutex_
    std::thread thread_;
};

}  // namespace cadenzo
