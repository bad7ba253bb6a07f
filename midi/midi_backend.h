// The seam between the program and the operating system's MIDI service.
// Real: the ALSA sequencer, else JACK; tests and benchmarks: virtual
// devices. Every call that can fail says how in a MidiResult, the codes the
// port manager's messages are keyed by.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/midi_service.h"
#include "midi/short_message.h"
#include "midi/thread_wake.h"

namespace cadenzo {

// What a call of the MIDI service came to; never to be passed over.
enum [[nodiscard]] MidiResult : uint32_t {
    kMidiOk = 0,
    kMidiBadDeviceId = 2,    // device index out of range
    kMidiAllocated = 4,      // device already in use
    kMidiInvalidHandle = 5,
    kMidiNoMemory = 7,
    kMidiInvalidParam = 11,
    kMidiStillPlaying = 65,  // buffers still queued
    kMidiNoDevice = 68,      // no MIDI port / service
};

// Kinds of input callback: a short message; and, from a back end that can
// lose what arrives (a queue that overflowed), word that data was lost, so
// the input lets go of what its device held. The program ignores any other.
enum MidiInputKind : uint16_t {
    kMimData = 0x3C3,
    kMimDataLost = 0x3CE,
};

// Called on the MIDI service's thread for every message of a started input.
// Must not block or allocate: under JACK it runs on the real-time thread.
using MidiInputCallback = void (*)(void* context, uint16_t kind, ShortMessage message);

class MidiInputPort {
public:
    virtual ~MidiInputPort() = default;
};

class MidiOutputPort {
public:
    virtual ~MidiOutputPort() = default;
    // Sends one short message as the right number of bytes for its status,
    // at the calling thread's send placement (midi/send_placement.h).
    // Several threads may send at once; each thread's sends keep their order.
    virtual void Send(ShortMessage m) = 0;
    // The calling thread's sends wait in a buffer that is more than three
    // quarters full: a sender with a backlog should wait a cycle before
    // sending more. Never for a port that sends at once.
    virtual bool Backlogged() const { return false; }
};

// Where a service numbers the ports of each of its clients (the ALSA
// sequencer): a device's client by name and its port's number there, which
// a kernel that renames its ports keeps.
struct ClientPort {
    std::string client;
    uint32_t port;
};

class MidiBackend {
public:
    virtual ~MidiBackend() = default;
    // Names of the devices, in the service's order: the names a device keeps
    // when it is plugged in again. Empty while the service is gone.
    virtual std::vector<std::string> InputNames() = 0;
    virtual std::vector<std::string> OutputNames() = 0;
    // Opens input device `device` as the program's port `portName`; the
    // callback gets data once the input is started.
    virtual MidiResult OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback,
                               void* context, std::unique_ptr<MidiInputPort>& handle) = 0;
    virtual MidiResult StartInput(MidiInputPort& port) = 0;
    // On success the handle is released and its callback no longer runs.
    virtual MidiResult CloseInput(std::unique_ptr<MidiInputPort>& handle) = 0;
    virtual MidiResult OpenOutput(uint32_t device, const std::string& portName,
                                std::unique_ptr<MidiOutputPort>& handle) = 0;
    // On success the handle is released. No send may be in progress.
    virtual MidiResult CloseOutput(std::unique_ptr<MidiOutputPort>& handle) = 0;

    // Main thread, after the lists were read: where the device that the
    // port the program opened as `portName` is joined to sits in them now.
    // Nothing once that device went away, even if a device of the same name
    // is listed again, nor after the service itself went away.
    virtual std::optional<uint32_t> ListedPlace(const std::string& portName) = 0;

    // Signalled on any thread (never the real-time one) whenever the devices
    // or the service itself may have changed; the main thread acknowledges it
    // and reads the lists again.
    ThreadWake& DeviceChanges() { return deviceChanges_; }

    // Any thread: which MIDI service answers, if one does.
    virtual std::optional<MidiService> AnsweringService() const { return std::nullopt; }
    // Any thread: the answering service's name ("ALSA", "JACK"), or "none".
    std::string ServiceName() const {
        const std::optional<MidiService> service = AnsweringService();
        return service ? ServiceInfo(*service).name : kNoMidiServiceName;
    }
    // Main thread, after the lists were read: the listed name of the device
    // that `nameOrAlias` names, which may be another name the service knows
    // the device by (under JACK a port's alias); the name itself otherwise.
    virtual std::string ListedNameOf(bool input, const std::string& nameOrAlias) const {
        (void)input;
        return nameOrAlias;
    }
    // Main thread, after the lists were read: the client and port number of
    // the device listed at `device`; none where the service numbers no ports.
    virtual std::optional<ClientPort> ClientPortOf(bool input, uint32_t device) const {
        (void)input;
        (void)device;
        return std::nullopt;
    }
    // Main thread: runs `tick(user)` every millisecond of the service's own
    // time, among what the service plays at that moment, skipped while
    // `idle(user)` holds (which may be null). False when the service keeps
    // no time of its own: a timer thread must tick instead.
    virtual bool StartCycleTick(void (*tick)(void* user), void* user, bool (*idle)(void* user)) {
        (void)tick;
        (void)user;
        (void)idle;
        return false;
    }
    // Main thread: the tick stops; once this returns it no longer runs.
    virtual void StopCycleTick() {}
    // Any thread: messages sent from the program's port `port` (an index
    // of kPortNames) but never written (a full queue or pool, a receiver
    // that takes nothing), counted instead of waited on.
    virtual uint64_t LostMessages(size_t port) const {
        (void)port;
        return 0;
    }
    // Any thread: the real-time priority of the service's own thread that
    // plays our input (0: it runs without real-time scheduling, or the
    // service is gone); none where the service has no such thread.
    virtual std::optional<int> ServerClientPriority() const { return std::nullopt; }

protected:
    ThreadWake deviceChanges_;
};

}  // namespace cadenzo
