#include "engine/monitor_feed.h"

#include "engine/system_state.h"

namespace cadenzo {

namespace {

void Queue(SystemState& s, MonitorRecordKind kind, uint32_t payload) {
    if (!s.Monitor.Visible.load(std::memory_order_relaxed)) return;
    if (s.Monitor.Events.Push(kind << 24 | (payload & kMonitorPayload))) s.WindowWake.Signal();
}

}  // namespace

void MonitorShortMessage(SystemState& s, ShortMessage m) { Queue(s, kMonitorShortMessage, m); }

void MonitorKey(SystemState& s, uint16_t key, uint32_t flags) { Queue(s, kMonitorKey, key | (flags & 3) << 16); }

void MonitorWindowMessage(SystemState& s, uint32_t messageId) { Queue(s, kMonitorWindowMessage, messageId); }

void MonitorDeviceEvent(SystemState& s, uint8_t port, bool back) {
    Queue(s, kMonitorDevice, port | (back ? 0x100u : 0u));
}

void MonitorDeviceByNumber(SystemState& s, uint8_t port, uint32_t number) {
    Queue(s, kMonitorDeviceByNumber, port | (number & 0xFFFF) << 8);
}

void MonitorSessionRefusal(SystemState& s, SessionRefusal why) { Queue(s, kMonitorSession, static_cast<uint32_t>(why)); }

}  // namespace cadenzo
