// The MIDI monitor pane: its lines for what engine/monitor_feed.h queued.
#pragma once

#include <string>
#include <vector>

#include "engine/monitor_feed.h"

namespace cadenzo {

// Main thread: shows or hides the pane's lines and forgets the queued ones,
// so a pane always starts empty. Returns whether the pane now shows.
bool ToggleMonitor(SystemState& s);

// Main thread (the engine lock is not needed): the lines queued since the
// last call, oldest first, with non-voice lines left out when `voiceOnly`
// (the options' MonitorVoiceOnly); then, when the full input queue has lost
// more messages since the last such line, how many it has lost in all.
std::vector<std::string> TakeMonitorLines(SystemState& s, bool voiceOnly);

}  // namespace cadenzo
