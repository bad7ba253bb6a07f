#include "engine/port_manager.h"

#include <algorithm>

#include "midi/port_names.h"
#include "services/dialogs.h"
#include "engine/monitor_feed.h"

namespace cadenzo {

namespace {

// The texts of the open and close failures, keyed by result code.
const char* OpenFailureText(MidiResult result) {
    switch (result) {
    case kMidiBadDeviceId:
        return "Errorr: The specified device identifier is out of range.";
    case kMidiAllocated:
        return "Errorr: The specified resource is already allocated.";
    case kMidiNoMemory:
        return "Errorr: The system is unable to allocate or lock memory.";
    case kMidiInvalidParam:
        return "Errorr: The specified pointer or structure is invalid.";
    case kMidiNoDevice:
        return "Errorr: No MIDI port was found. This error occurs only when the mapper is opened.";
    default:
        return nullptr;
    }
}

const char* CloseFailureText(MidiResult result) {
    switch (result) {
    case kMidiInvalidHandle:
        return "The specified device handle is invalid.";
    case kMidiNoMemory:
        return "The system is unable to load mapper string description.";
    case kMidiStillPlaying:
        return "Buffers are still in the queue.";
    default:
        return nullptr;
    }
}

constexpr const char* kCaption = "Errorr...";

// The caption of every message of an input but the "no port" one.
const char* InputCaption(PortId port) { return port == PortId::In1 ? "Errorr... in MIDI in 1" : kCaption; }

const char* Name(PortId port) { return kPortNames[PortIndex(port)]; }

// Runs a call of the MIDI service, which may wait for the service, with the
// engine lock let go: the engine plays on meanwhile (an output being
// detached simply takes nothing).
template <typename Call>
MidiResult WithEngineLetGo(SystemState& s, Call call) {
    const EngineReleased released(s.Engine);
    return call();
}

// Where the messages of a port go: nowhere while device follow works.
void Report(Dialogs* dialogs, const std::string& text, const char* caption) {
    if (dialogs) dialogs->MessageBox(text, caption);
}

// Closes the port's device; a failure is reported and leaves it open.
void ClosePort(SystemState& s, PortId port, Dialogs* dialogs) {
    if (IsInput(port)) {
        InputSlot& slot = s.Ports.Inputs[PortIndex(port)];
        if (slot.OpenNumber.load() == 0) return;
        const MidiResult result = WithEngineLetGo(s, [&] { return s.Io.midi->CloseInput(slot.Handle); });
        if (result == kMidiOk) {
            slot.OpenNumber.store(0);
        } else if (const char* text = CloseFailureText(result)) {
            Report(dialogs, text, InputCaption(port));
        }
        return;
    }
    OutputSlot& slot = s.Ports.Output(port);
    const uint32_t number = slot.OpenNumber();
    if (number == 0) return;
    std::unique_ptr<MidiOutputPort> handle = slot.Detach();
    const MidiResult result = WithEngineLetGo(s, [&] { return s.Io.midi->CloseOutput(handle); });
    if (result != kMidiOk) {
        slot.Attach(std::move(handle), number);  // still open on the old device
        if (const char* text = CloseFailureText(result)) Report(dialogs, std::string("Errorr: ") + text, kCaption);
    }
}

// Opens device n - 1 on the port; a failure is reported.
bool OpenPort(SystemState& s, PortId port, uint32_t n, Dialogs* dialogs) {
    MidiResult result = kMidiOk;
    if (IsInput(port)) {
        InputSlot& slot = s.Ports.Inputs[PortIndex(port)];
        const MidiInputCallback callback = s.Io.inputs[PortIndex(port)];
        std::unique_ptr<MidiInputPort> handle;
        result = WithEngineLetGo(s, [&] { return s.Io.midi->OpenInput(n - 1, Name(port), callback, &s, handle); });
        if (result == kMidiOk) {
            slot.Handle = std::move(handle);  // replaces a handle whose close failed
            slot.Held.Clear();
            slot.OpenNumber.store(n);
            // A service may take its own locks to start the input, which
            // its playing thread waits on: never while holding the engine.
            // Every service starts an input it opened: nothing to report.
            static_cast<void>(WithEngineLetGo(s, [&] { return s.Io.midi->StartInput(*slot.Handle); }));
            return true;
        }
        if (const char* text = OpenFailureText(result))
            Report(dialogs, text, result == kMidiNoDevice ? kCaption : InputCaption(port));
        return false;
    }
    std::unique_ptr<MidiOutputPort> handle;
    result = WithEngineLetGo(s, [&] { return s.Io.midi->OpenOutput(n - 1, Name(port), handle); });
    if (result == kMidiOk) {
        s.Ports.Output(port).Attach(std::move(handle), n);
        return true;
    }
    if (const char* text = OpenFailureText(result)) Report(dialogs, text, kCaption);
    return false;
}

// Another port of the port's direction on which device number n is open:
// whether there is one, and whether it follows the same device (name and
// order) as the port does, which is how a player chooses one device for two.
struct TakenBy {
    bool taken = false;
    bool chosenForBoth = false;
};

TakenBy Taken(const SystemState& s, PortId port, uint32_t n) {
    const PortState& ports = s.Ports;
    const auto sameOrder = [&](PortId other) {
        return std::max(ports.RememberedOrders[PortIndex(other)], 1u) ==
               std::max(ports.RememberedOrders[PortIndex(port)], 1u);
    };
    TakenBy by;
    for (PortId other : kAllPorts) {
        if (other == port || IsInput(other) != IsInput(port) || ports.OpenNumber(other) != n) continue;
        by.taken = true;
        by.chosenForBoth |= ports.RememberedDevices[PortIndex(other)] == ports.RememberedDevices[PortIndex(port)] &&
                            sameOrder(other);
    }
    return by;
}

// The port number within its client of the device listed as number n.
std::optional<uint32_t> ClientPortNumber(const SystemState& s, PortId port, uint32_t n) {
    if (n == 0 || !s.Io.midi) return std::nullopt;
    const std::optional<ClientPort> place = s.Io.midi->ClientPortOf(IsInput(port), n - 1);
    return place ? std::optional<uint32_t>(place->port) : std::nullopt;
}

// What tells the device listed as number n apart, beside its name.
void RememberTells(SystemState& s, PortId port, uint32_t n) {
    s.Ports.RememberedOrders[PortIndex(port)] = NamesakeOrder(s.Ports.DeviceNames(port), n);
    s.Ports.RememberedClientPorts[PortIndex(port)] = ClientPortNumber(s, port, n);
}

void SelectPort(SystemState& s, PortId port, uint32_t n) {
    ClosePort(s, port, s.Io.dialogs);
    if (n != 0) OpenPort(s, port, n, s.Io.dialogs);
    const uint32_t open = s.Ports.OpenNumber(port);
    const std::vector<std::string>& list = s.Ports.DeviceNames(port);
    const bool listed = open != 0 && open < list.size();
    s.Ports.RememberedDevices[PortIndex(port)] = listed ? list[open] : "";
    s.Ports.RememberedOrders[PortIndex(port)] = 0;
    s.Ports.RememberedClientPorts[PortIndex(port)].reset();
    if (listed) RememberTells(s, port, open);
}

}  // namespace

void EnumerateMidiDevices(SystemState& s) {
    s.Ports.InputDeviceNames = {kNoInputDevice};
    s.Ports.OutputDeviceNames = {kNoOutputDevice};
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    {
        const EngineReleased released(s.Engine);
        inputs = s.Io.midi->InputNames();
        outputs = s.Io.midi->OutputNames();
    }
    for (std::string& name : inputs) s.Ports.InputDeviceNames.push_back(std::move(name));
    for (std::string& name : outputs) s.Ports.OutputDeviceNames.push_back(std::move(name));
}

void FreeDeviceLists(SystemState& s) {
    s.Ports.InputDeviceNames.clear();
    s.Ports.OutputDeviceNames.clear();
}

void SelectIn1Port(SystemState& s, uint32_t n) { SelectPort(s, PortId::In1, n); }
void SelectIn2Port(SystemState& s, uint32_t n) { SelectPort(s, PortId::In2, n); }
void SelectIn3Port(SystemState& s, uint32_t n) { SelectPort(s, PortId::In3, n); }
void SelectSynthOutPort(SystemState& s, uint32_t n) { SelectPort(s, PortId::SynthOut, n); }
void SelectThruOutPort(SystemState& s, uint32_t n) { SelectPort(s, PortId::ThruOut, n); }
void SelectControlOutPort(SystemState& s, uint32_t n) { SelectPort(s, PortId::ControlOut, n); }

void OpenAllPorts(SystemState& s, const PortNames& names, const PortOrders& orders,
                  const PortClientPorts& clientPorts) {
    const OptionsRecord& o = s.Options;
    const PerPort<uint32_t> numbers{ReadU32(o.In1Device),     ReadU32(o.In2Device),    ReadU32(o.In3Device),
                                    ReadU32(o.SynthOutDevice), ReadU32(o.ThruOutDevice), ReadU32(o.ControlOutDevice)};
    for (PortId port : kAllPorts) {
        const std::optional<std::string>& name = names[PortIndex(port)];
        if (!name) {
            SelectPort(s, port, numbers[PortIndex(port)]);
            continue;
        }
        // Never the number instead: it may point at another device by now.
        s.Ports.RememberedDevices[PortIndex(port)] = *name;
        s.Ports.RememberedOrders[PortIndex(port)] = orders[PortIndex(port)];
        s.Ports.RememberedClientPorts[PortIndex(port)] = clientPorts[PortIndex(port)];
        const uint32_t n = FindDevice(s, port);
        if (n == 0 || !OpenPort(s, port, n, s.Io.dialogs)) continue;
        FollowOpened(s, port, n);
        RememberTells(s, port, n);
    }
}

void CloseAllPorts(SystemState& s) {
    for (PortId port : kAllPorts) ClosePort(s, port, s.Io.dialogs);
}

uint32_t FindDevice(const SystemState& s, PortId port) {
    const std::string& name = s.Ports.RememberedDevices[PortIndex(port)];
    if (name.empty()) return 0;
    // The name may be another one the service knows the device by.
    const std::string listed = s.Io.midi ? s.Io.midi->ListedNameOf(IsInput(port), name) : name;
    const std::vector<std::string>& list = s.Ports.DeviceNames(port);
    const uint32_t order = std::max(s.Ports.RememberedOrders[PortIndex(port)], 1u);
    uint32_t free = 0;
    uint32_t shared = 0;
    bool named = false;
    for (uint32_t n = 1; n < list.size(); ++n) {
        if (list[n] != listed) continue;
        named = true;
        const TakenBy by = Taken(s, port, n);
        if (!by.taken && NamesakeOrder(list, n) == order) return n;
        if (!by.taken && free == 0) free = n;
        if (by.chosenForBoth && shared == 0) shared = n;
    }
    const std::optional<uint32_t> number = s.Ports.RememberedClientPorts[PortIndex(port)];
    if (named || !number || !s.Io.midi) return free != 0 ? free : shared;
    // Nothing of that name (a kernel that renamed its ports): the same
    // client's port of the same number, if it is free.
    for (uint32_t n = 1; n < list.size(); ++n) {
        const std::optional<ClientPort> place = s.Io.midi->ClientPortOf(IsInput(port), n - 1);
        if (place && place->port == *number && listed.starts_with(place->client + ":") && !Taken(s, port, n).taken)
            return n;
    }
    return 0;
}

void FollowOpened(SystemState& s, PortId port, uint32_t n) {
    std::string& name = s.Ports.RememberedDevices[PortIndex(port)];
    const std::string& listed = s.Ports.DeviceNames(port)[n];
    if (s.Io.midi->ListedNameOf(IsInput(port), name) == listed) return;
    name = listed;
    RememberTells(s, port, n);
    const std::optional<uint32_t> number = s.Ports.RememberedClientPorts[PortIndex(port)];
    MonitorDeviceByNumber(s, static_cast<uint8_t>(PortIndex(port)), number.value_or(0));
}

uint32_t NamesakeOrder(const std::vector<std::string>& list, uint32_t n) {
    return static_cast<uint32_t>(std::count(list.begin() + 1, list.begin() + n + 1, list[n]));
}

void DropLostPort(SystemState& s, PortId port) {
    ClosePort(s, port, nullptr);
    if (!IsInput(port) || s.Ports.OpenNumber(port) != 0) return;
    // No callback runs for the input any more: what its device held is final.
    const MidiInputCallback callback = s.Io.inputs[PortIndex(port)];
    for (ShortMessage release : s.Ports.Inputs[PortIndex(port)].Held.TakeReleases()) callback(&s, kMimData, release);
}

bool ReopenPort(SystemState& s, PortId port, uint32_t n) { return OpenPort(s, port, n, nullptr); }

}  // namespace cadenzo
