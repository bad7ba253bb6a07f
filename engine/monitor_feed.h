// The MIDI monitor's feed: short messages, key events and the events of the
// message hook, queued for the main window's pane. The three Monitor... calls
// may come from any thread: while the pane shows they queue a fixed 32-bit
// record without allocating (a full queue drops the record); while it is
// hidden they return at once. The pane turns the records into text on the
// main thread (ui/monitor.h), in the order each thread queued them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "midi/input_queue.h"
#include "midi/port_names.h"
#include "midi/short_message.h"

namespace cadenzo {

struct SystemState;

struct MonitorState {
    std::atomic<bool> Visible{false};  // written by the main thread, read on any thread
    InputQueue Events;                 // any thread pushes, the main thread pops
    uint32_t LostShown = 0;            // main thread: the input's lost count the last line gave
    std::array<uint64_t, kPortNames.size()> OutputLostShown{};  // main thread: per port, the lost count the last line gave
    int MemoryLockError = 0;           // main thread: why memory could not be locked at start (errno), 0: locked
    bool MemoryLockShown = false;      // main thread: the line saying so was shown
};

// A queued record: the kind in bits 24..31, its payload below.
enum MonitorRecordKind : uint32_t {
    kMonitorShortMessage = 1,
    kMonitorKey = 2,
    kMonitorWindowMessage = 3,
    kMonitorDevice = 4,
    kMonitorSession = 5,
    kMonitorDeviceByNumber = 6,
};
inline constexpr uint32_t kMonitorPayload = 0x00FFFFFF;

// Any thread. A short message as it passes the watched point.
void MonitorShortMessage(SystemState& s, ShortMessage m);

// Any thread. A key event: virtual-key code and ModifierState.
void MonitorKey(SystemState& s, uint16_t key, uint32_t flags);

// Any thread. An event id seen by the main thread's message hook.
void MonitorWindowMessage(SystemState& s, uint32_t messageId);

// Main thread. The device of port `port` (0..5, In1 .. ControlOut) has gone,
// or is back; shown whatever the monitor's source.
void MonitorDeviceEvent(SystemState& s, uint8_t port, bool back);

// Main thread. No device of the name port `port` follows is listed: it
// opened its client's port number `number` instead; shown whatever the
// monitor's source.
void MonitorDeviceByNumber(SystemState& s, uint8_t port, uint32_t number);

// Why a datagram on the session manager's socket was not taken.
enum class SessionRefusal : uint8_t {
    Malformed,  // not a message of the protocol, or its arguments of the wrong types
    Foreign,    // not from the session manager's address
    Unknown,    // a message the program has no use for
};

// Main thread. A datagram on the session manager's socket was not taken.
void MonitorSessionRefusal(SystemState& s, SessionRefusal why);

}  // namespace cadenzo
