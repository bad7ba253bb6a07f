// The program's one client of a JACK server: "Cadenzo" or the name a
// session manager gave (a second instance gets the name the server gives it), with the MIDI inputs In1, In2, In3 and
// outputs SynthOut, ThruOut, ControlOut, registered once the server answers.
// Its process callback plays each cycle (process_cycle.h). The server may
// go away at any time; a thread of its own then closes the dead client off
// the real-time thread and reaches for a server of the same name again
// every so often. `changes` is signalled on every port registration, rename
// and connection change and on the server's going and coming back (libjack's
// notification thread and the watch thread, never the process thread).
//
// Threads: the queries and connection calls are for the main thread; Alive
// and the connection counts for any thread.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <jack/jack.h>
#include <jack/thread.h>
#include <jack/uuid.h>

#include "midi/jack/cycle_clock.h"
#include "midi/jack/input_bindings.h"
#include "midi/jack/process_cycle.h"
#include "midi/thread_wake.h"

namespace cadenzo {

inline constexpr size_t kJackPortCount = kJackInputCount + kJackOutputCount;

// Another client's MIDI port as the server lists it.
struct JackListedPort {
    std::string name;                    // full name, "client:port"
    std::vector<std::string> aliases;    // its other names (under -X seq, the ALSA device's)
    jack_uuid_t uuid;                    // new for every port the server registers
};

class JackClient {
public:
    // `name`: the client name asked of the server.
    JackClient(std::string name, ThreadWake& changes, InputBindings& inputs,
               std::array<OutputQueue, kJackOutputCount>& outputs);
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    // The server answers. False from the moment it goes away until a server
    // is reached again.
    bool Alive() const { return alive_.load(std::memory_order_acquire); }

    // Other clients' MIDI ports that send (`sources`) or receive, in the
    // server's order; none while the server is gone.
    std::vector<JackListedPort> Ports(bool sources);
    // The full name of the program's port `index` (in kPortNames' order).
    std::optional<std::string> OwnPortName(size_t index);
    // The identity of the port called `name`, if it exists.
    std::optional<jack_uuid_t> PortUuid(const std::string& name);
    // How Connect found the two ports.
    enum class Joining { kFailed, kMade, kFound };
    // Joins `source` to `destination`: kMade when this call joined them,
    // kFound when someone else had (such a connection is in force already).
    Joining Connect(const std::string& source, const std::string& destination);
    // Parts them, if they are joined.
    void Disconnect(const std::string& source, const std::string& destination);
    // Whether `source` is joined to `destination`.
    bool Joined(const std::string& source, const std::string& destination);
    // Any thread: how many ports have left the server so far. JACK hands a
    // port's uuid to the next port registered in its place, so a port that
    // left and one of its name that came back are told apart by this count
    // having moved and the program's connection having gone with the port.
    uint64_t PortsGone() const { return portsGone_.load(std::memory_order_acquire); }
    // Any thread: how many connections to the program's output `output` the
    // server has announced so far (libjack's notification thread counts
    // them; none is ever taken back).
    uint64_t OutputJoins(size_t output) const { return joins_[output].load(std::memory_order_acquire); }
    // Any thread: how many process cycles have run to their end so far.
    uint64_t Cycles() const { return inCallback_.load(std::memory_order_acquire) / 2; }
    // Any thread: the real-time priority of the client's process thread,
    // 0 while the server runs without real-time scheduling or is gone.
    int ClientPriority() const { return clientPriority_.load(std::memory_order_acquire); }
    // The length of the last cycle (0 before the first).
    std::chrono::microseconds Period() const {
        return std::chrono::microseconds(periodMicros_.load(std::memory_order_relaxed));
    }

private:
    // One connection to a server.
    struct Session {
        jack_client_t* client = nullptr;
        std::array<jack_port_t*, kJackPortCount> ports{};
        std::string name;  // the client's name as the server gave it
    };

    void Run();
    bool Reach();   // opens the client; whether the server answered
    void LetGo();   // closes the client
    bool Settled(std::chrono::steady_clock::time_point now);

    static int Process(jack_nframes_t frames, void* self);
    static void OnPortRegistration(jack_port_id_t, int, void* self);
    static void OnPortRename(jack_port_id_t, const char*, const char*, void* self);
    static void OnPortConnect(jack_port_id_t, jack_port_id_t, int, void* self);
    static void OnShutdown(jack_status_t, const char*, void* self);
    static int OnSampleRate(jack_nframes_t rate, void* self);

    const std::string name_;
    ThreadWake& changes_;
    InputBindings& inputs_;
    std::array<OutputQueue, kJackOutputCount>& outputs_;

    std::atomic<bool> alive_{false};
    std::atomic<bool> lost_{false};  // the server went away; the client is dead
    // When to look again after a port came or went (steady clock, ns; 0: no need).
    std::atomic<int64_t> settleAt_{0};
    std::atomic<int64_t> periodMicros_{0};
    std::atomic<int> clientPriority_{0};
    std::atomic<uint64_t> portsGone_{0};
    std::array<std::atomic<uint64_t>, kJackOutputCount> joins_{};
    std::atomic<uint32_t> rate_{0};        // frames a second, as the server last said
    std::atomic<bool> closing_{false};     // the process callback plays no more
    std::atomic<uint64_t> inCallback_{0};  // odd while the process callback plays

    std::mutex sessionMutex_;  // the main thread's calls; the watch thread opens and closes
    std::unique_ptr<Session> session_;
    std::atomic<const Session*> processing_{nullptr};  // what the process callback plays on
    CycleClock clock_;  // the process callback's, once it runs

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool stopping_ = false;  // under wakeMutex_
    std::thread thread_;
};

}  // namespace cadenzo
