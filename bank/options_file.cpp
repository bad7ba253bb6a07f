#include "bank/options_file.h"

#include "bank/file_io.h"
#include "services/dialogs.h"
#include "services/display.h"

namespace cadenzo {

void ApplyOptionDefaults(OptionsRecord& o) {
    for (auto* device : {&o.In1Device, &o.In2Device, &o.In3Device, &o.SynthOutDevice,
                         &o.ThruOutDevice, &o.ControlOutDevice})
        WriteU32(*device, 0);
    o.Mix34Level = 0;
    o.Mix56Level = 0;
    o.ChangeBlendsWithBanks = 0;
    o.UseDrumMode = 0;
    WriteU32(o.ProgramDisplayMode, 0);
    o.ProgramSelectPort = 1;
    o.ProgramSelectChannel = 16;
    o.UserCC1 = o.UserCC2 = o.UserCC3 = o.UserCC4 = 0;
    o.DrumInPort = 0;
    o.DrumInChannel = 9;
    o.DrumOutChannel = 9;
    o.DrumReverb = 20;
    o.DrumChorus = 0;
    o.DrumDelay = 0;
    o.DrumOut12 = 127;
    o.DrumOut34 = 0;
    o.DrumOut56 = 0;
    o.GmStartMode = 0;
    o.GmThruMode = kNoThru;
    o.GmPort = 1;
    WriteShared(o.MonitorSource, 0);
    o.MonitorVoiceOnly = 0;
    o.TerciChannel = 16;
    o.DrumAutoNoteOff = 0;
    o.NoteOffDelay = 20;
    o.GmAutoNoteOff = 0;
    o.CCBlocked.fill(1);
    for (int cc : {1, 11, 33, 64}) o.CCBlocked[cc] = 0;
    o.MasterVolumePort = 0;
    o.MasterVolumeChannel = 16;
    o.MasterVolumeCC = 7;
    o.TerciPort = 0;
}

void LoadOptions(OptionsRecord& o, std::atomic<bool>& gmMode, Dialogs& dialogs, Display& display) {
    if (!FileExists(kOptionsFile)) {
        dialogs.MessageBox("Options file not exist!  Initializing With Deffault Values!", "Errorr!");
        ApplyOptionDefaults(o);
    } else if (ReadFilePrefix(kOptionsFile, reinterpret_cast<uint8_t*>(&o), sizeof o) != sizeof o) {
        dialogs.MessageBox("Error While Reading Options File !", "Errorr!");
        ApplyOptionDefaults(o);
    }
    display.SetDrumTimerInterval(DrumOffIntervalMs(o.NoteOffDelay));
    if (o.GmStartMode == 0) gmMode = false;
    if (o.GmStartMode == 1) gmMode = true;
}

bool SaveOptions(OptionsRecord& o, const PerPort<uint32_t>& openPorts, Dialogs& dialogs) {
    std::array<uint8_t, 4>* devices[] = {&o.In1Device,     &o.In2Device,     &o.In3Device,
                                         &o.SynthOutDevice, &o.ThruOutDevice, &o.ControlOutDevice};
    for (size_t i = 0; i < openPorts.size(); ++i) WriteU32(*devices[i], openPorts[i]);
    if (ReplaceFileContent(kOptionsFile, reinterpret_cast<const uint8_t*>(&o), sizeof o)) return true;
    dialogs.MessageBox("Error Writing Options File !", "Bad Write");
    return false;
}

}  // namespace cadenzo
