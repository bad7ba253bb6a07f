// The MIDI monitor: lines for short messages, key events and the events of
// the message hook, shown in the main window's pane. The three Monitor...
// calls may come from any thread: while the pane shows they queue a fixed
// 32-bit record without allocating (a full queue drops the record); while
// it is hidden they return at once. The main thread turns the records into
// text in the order each thread queued them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "midi/short_message.h"

namespace cadenzo {

struct SystemState;

// Any thread. A short message as it passes the watched point.
void MonitorShortMessage(SystemState& s, ShortMessage m);

// Any thread. A key event: virtual-key code and ModifierState.
void MonitorKey(SystemState& s, uint16_t key, uint32_t flags);

// Any thread. An event id seen by the main thread's message hook.
void MonitorWindowMessage(SystemState& s, uint32_t messageId);

// Main thread: shows or hides the pane's lines and forgets the queued ones,
// so a pane always starts empty. Returns whether the pane now shows.
bool ToggleMonitor(SystemState& s);

// Main thread: the lines queued since the last call, oldest first, with
// non-voice lines left out while the options ask for voice messages only.
std::vector<std::string> TakeMonitorLines(SystemState& s);

}  // namespace cadenzo
