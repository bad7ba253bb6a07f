#include "ui/monitor.h"

#include "engine/system_state.h"
#include "ui/monitor_lines.h"

namespace cadenzo {

namespace {

// A queued record: the kind in bits 24..31, its payload below.
enum Kind : uint32_t { kShortMessage = 1, kKey = 2, kWindowMessage = 3 };
constexpr uint32_t kPayload = 0x00FFFFFF;

void Queue(SystemState& s, Kind kind, uint32_t payload) {
    if (!s.Monitor.Visible.load(std::memory_order_relaxed)) return;
    s.Monitor.Events.Push(kind << 24 | (payload & kPayload));
}

std::string Line(uint32_t record) {
    const uint32_t payload = record & kPayload;
    switch (record >> 24) {
    case kShortMessage:
        return ShortMessageLine(payload);
    case kKey:
        return KeyLine(static_cast<uint16_t>(payload), payload >> 16);
    default:
        return WindowMessageLine(payload);
    }
}

void DiscardQueued(SystemState& s) {
    uint32_t record = 0;
    while (s.Monitor.Events.Pop(record)) {
    }
}

}  // namespace

void MonitorShortMessage(SystemState& s, ShortMessage m) { Queue(s, kShortMessage, m); }

void MonitorKey(SystemState& s, uint16_t key, uint32_t flags) { Queue(s, kKey, key | (flags & 3) << 16); }

void MonitorWindowMessage(SystemState& s, uint32_t messageId) { Queue(s, kWindowMessage, messageId); }

bool ToggleMonitor(SystemState& s) {
    const bool visible = !s.Monitor.Visible.load(std::memory_order_relaxed);
    s.Monitor.Visible.store(visible, std::memory_order_relaxed);
    DiscardQueued(s);
    return visible;
}

std::vector<std::string> TakeMonitorLines(SystemState& s) {
    std::vector<std::string> lines;
    const bool voiceOnly = s.Options.MonitorVoiceOnly != 0;
    uint32_t record = 0;
    while (s.Monitor.Events.Pop(record)) {
        std::string line = Line(record);
        if (voiceOnly && !IsChannelVoiceLine(line)) continue;
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace cadenzo
