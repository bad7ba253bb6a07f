#include "app/startup.h"

#include <cstring>
#include <exception>
#include <string>

#include "bank/blend_file.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
#include "bank/settings_file.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "midi/port_manager.h"
#include "services/dialogs.h"
#include "services/display.h"
#include "services/redraw_mask.h"

namespace cadenzo {

namespace {

void ReportMissingInputWake(SystemState& s) {
    const int error = s.Input.Wake.CreateError();
    if (error == 0) return;
    s.Io.dialogs->MessageBox(std::string("Cannot create the MIDI input wake-up (") + std::strerror(error) +
                                 ").\nMIDI input is looked for every millisecond instead.",
                             "Cadenzo", MessageIcon::Error);
}

void StartUp(SystemState& s, Shell& shell) {
    shell.ShowStartScreen("Loading...");
    s.Io.display = &shell.CreateMainWindow();
    shell.SetStartScreenText("Initialize Blends...");
    InitBankDefaults(s.Bank);
    shell.SetStartScreenText("Initializing MIDI Devices...");
    EnumerateMidiDevices(s);
    shell.InstallMessageHook();
    ReportMissingInputWake(s);
    shell.SetStartScreenText("Load Options...");
    LoadOptions(s.Options, s.Bank.GmMode, *s.Io.dialogs, *s.Io.display);
    s.RingAcross.Enabled = ReadSettingsFile().RingAcrossMixChange;
    shell.SetStartScreenText("Load Blends...");
    LoadBlendFile(s.Bank, s.BlendFileName, kDefaultBlendFile, *s.Io.dialogs, *s.Io.display);
    shell.SetStartScreenText("Open MIDI Devices...");
    OpenAllPorts(s, ReadPortsFile());
    LoadMix(s.Bank, 0);
    SendStartUpSet(s);
    ShowTerca(s);
    s.Io.display->RefreshDisplay(RedrawAll);
    shell.CloseStartScreen();
}

void ShutDown(SystemState& s, Shell& shell) {
    shell.ShowStartScreen("Closing...");
    CloseAllPorts(s);
    SaveBlendFile(s.Bank, BlendFileForShutdown(s.BlendFileName), *s.Io.dialogs);
    FreeDeviceLists(s);
    shell.CloseStartScreen();
}

}  // namespace

int RunProgram(SystemState& s, Shell& shell) {
    try {
        StartUp(s, shell);
        shell.RunMessageLoop();
        ShutDown(s, shell);
    } catch (const std::exception& e) {
        shell.ShowException(e.what());
    }
    return 0;
}

}  // namespace cadenzo
