#include "ui/monitor.h"

#include "engine/system_state.h"
#include "midi/midi_backend.h"
#include "ui/monitor_lines.h"

namespace cadenzo {

namespace {

std::string Line(uint32_t record) {
    const uint32_t payload = record & kMonitorPayload;
    switch (record >> 24) {
    case kMonitorShortMessage:
        return ShortMessageLine(payload);
    case kMonitorKey:
        return KeyLine(static_cast<uint16_t>(payload), payload >> 16);
    case kMonitorDeviceByNumber:
        return DeviceByNumberLine(static_cast<uint8_t>(payload), payload >> 8);
    case kMonitorSession:
        return SessionRefusalLine(static_cast<SessionRefusal>(payload));
    case kMonitorDevice:
        return DeviceLine(static_cast<uint8_t>(payload), (payload & 0x100) != 0);
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

bool ToggleMonitor(SystemState& s) {
    const bool visible = !s.Monitor.Visible.load(std::memory_order_relaxed);
    s.Monitor.Visible.store(visible, std::memory_order_relaxed);
    DiscardQueued(s);
    return visible;
}

std::vector<std::string> TakeMonitorLines(SystemState& s, bool voiceOnly) {
    std::vector<std::string> lines;
    uint32_t record = 0;
    while (s.Monitor.Events.Pop(record)) {
        std::string line = Line(record);
        if (voiceOnly && !IsChannelVoiceLine(line)) continue;
        lines.push_back(std::move(line));
    }
    const uint32_t lost = s.Input.Lost.load(std::memory_order_relaxed);
    if (lost != s.Monitor.LostShown) {
        s.Monitor.LostShown = lost;
        lines.push_back(LostInputLine(lost));
    }
    if (s.Monitor.MemoryLockError != 0 && !s.Monitor.MemoryLockShown) {
        s.Monitor.MemoryLockShown = true;
        lines.push_back(MemoryNotLockedLine(s.Monitor.MemoryLockError));
    }
    for (size_t port = kInputPortCount; port < kPortNames.size(); ++port) {
        const uint64_t outputLost = s.Io.midi ? s.Io.midi->LostMessages(port) : 0;
        if (outputLost == s.Monitor.OutputLostShown[port]) continue;
        s.Monitor.OutputLostShown[port] = outputLost;
        lines.push_back(LostOutputLine(static_cast<uint8_t>(port), outputLost));
    }
    return lines;
}

}  // namespace cadenzo
