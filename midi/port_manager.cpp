#include "midi/port_manager.h"

#include "midi/input_callbacks.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

// The texts of the open and close failures, keyed by result code.
const char* OpenFailureText(uint32_t result) {
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

const char* CloseFailureText(uint32_t result) {
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
constexpr const char* kIn1Caption = "Errorr... in MIDI in 1";

struct InputPortInfo {
    const char* name;           // the program's port name at the MIDI service
    MidiInputCallback callback;
    const char* caption;        // caption of every message but the "no port" one
};

const InputPortInfo kInputPorts[] = {
    {"In1", &In1Callback, kIn1Caption},
    {"In2", &In2Callback, kCaption},
    {"In3", &In3Callback, kCaption},
};

void SelectInputPort(SystemState& s, int index, uint32_t n) {
    InputSlot& slot = s.Ports.Inputs[index];
    const InputPortInfo& info = kInputPorts[index];
    Dialogs& dialogs = *s.Io.dialogs;
    if (slot.OpenNumber.load() != 0) {
        const uint32_t result = s.Io.midi->CloseInput(slot.Handle);
        if (result == kMidiOk) {
            slot.OpenNumber.store(0);
        } else if (const char* text = CloseFailureText(result)) {
            dialogs.MessageBox(text, info.caption);
        }
    }
    if (n == 0) return;
    std::unique_ptr<MidiInputPort> handle;
    const uint32_t result = s.Io.midi->OpenInput(n - 1, info.name, info.callback, &s, handle);
    if (result == kMidiOk) {
        slot.Handle = std::move(handle);  // replaces a handle whose close failed
        slot.OpenNumber.store(n);
        s.Io.midi->StartInput(*slot.Handle);
    } else if (const char* text = OpenFailureText(result)) {
        dialogs.MessageBox(text, result == kMidiNoDevice ? kCaption : info.caption);
    }
}

void SelectOutputPort(SystemState& s, OutputSlot& slot, const char* name, uint32_t n) {
    Dialogs& dialogs = *s.Io.dialogs;
    if (slot.OpenNumber() != 0) {
        const uint32_t number = slot.OpenNumber();
        std::unique_ptr<MidiOutputPort> handle = slot.Detach();
        const uint32_t result = s.Io.midi->CloseOutput(handle);
        if (result != kMidiOk) {
            slot.Attach(std::move(handle), number);  // still open on the old device
            if (const char* text = CloseFailureText(result))
                dialogs.MessageBox(std::string("Errorr: ") + text, kCaption);
        }
    }
    if (n == 0) return;
    std::unique_ptr<MidiOutputPort> handle;
    const uint32_t result = s.Io.midi->OpenOutput(n - 1, name, handle);
    if (result == kMidiOk) {
        slot.Attach(std::move(handle), n);
    } else if (const char* text = OpenFailureText(result)) {
        dialogs.MessageBox(text, kCaption);
    }
}

}  // namespace

void EnumerateMidiDevices(SystemState& s) {
    s.Ports.InputDeviceNames = {kNoInputDevice};
    s.Ports.OutputDeviceNames = {kNoOutputDevice};
    for (std::string& name : s.Io.midi->InputNames()) s.Ports.InputDeviceNames.push_back(std::move(name));
    for (std::string& name : s.Io.midi->OutputNames()) s.Ports.OutputDeviceNames.push_back(std::move(name));
}

void FreeDeviceLists(SystemState& s) {
    s.Ports.InputDeviceNames.clear();
    s.Ports.OutputDeviceNames.clear();
}

void SelectIn1Port(SystemState& s, uint32_t n) { SelectInputPort(s, 0, n); }
void SelectIn2Port(SystemState& s, uint32_t n) { SelectInputPort(s, 1, n); }
void SelectIn3Port(SystemState& s, uint32_t n) { SelectInputPort(s, 2, n); }
void SelectSynthOutPort(SystemState& s, uint32_t n) { SelectOutputPort(s, s.Ports.SynthOut, "SynthOut", n); }
void SelectThruOutPort(SystemState& s, uint32_t n) { SelectOutputPort(s, s.Ports.ThruOut, "ThruOut", n); }
void SelectControlOutPort(SystemState& s, uint32_t n) {
    SelectOutputPort(s, s.Ports.ControlOut, "ControlOut", n);
}

void OpenAllPorts(SystemState& s) {
    const OptionsRecord& o = s.Options;
    SelectIn1Port(s, ReadU32(o.In1Device));
    SelectIn2Port(s, ReadU32(o.In2Device));
    SelectIn3Port(s, ReadU32(o.In3Device));
    SelectSynthOutPort(s, ReadU32(o.SynthOutDevice));
    SelectThruOutPort(s, ReadU32(o.ThruOutDevice));
    SelectControlOutPort(s, ReadU32(o.ControlOutDevice));
}

void CloseAllPorts(SystemState& s) {
    SelectIn1Port(s, 0);
    SelectIn2Port(s, 0);
    SelectIn3Port(s, 0);
    SelectSynthOutPort(s, 0);
    SelectThruOutPort(s, 0);
    SelectControlOutPort(s, 0);
}

}  // namespace cadenzo
