#include "app/startup.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "bank/blend_file.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
#include "bank/settings_file.h"
#include "engine/program_settings.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "engine/port_manager.h"
#include "services/dialogs.h"
#include "services/display.h"
#include "services/redraw_mask.h"

namespace cadenzo {

namespace {

// A wake that could not be made, and what is done instead.
void ReportMissingWake(SystemState& s, const ThreadWake& wake, const char* what, const char* instead) {
    const int error = wake.CreateError();
    if (error == 0) return;
    s.Io.dialogs->MessageBox(std::string("Cannot create the ") + what + " (" + std::strerror(error) + ").\n" + instead,
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
    ReportMissingWake(s, s.Input.Wake, "MIDI input wake-up", "MIDI input is looked for every millisecond instead.");
    ReportMissingWake(s, s.Io.midi->DeviceChanges(), "MIDI device-change wake-up",
                      "The MIDI devices are looked at once a second instead.");
    shell.SetStartScreenText("Load Options...");
    LoadOptions(s.Options, s.Bank.GmMode, *s.Io.dialogs, *s.Io.display);
    UseProgramSettings(s, ReadSettingsFile());
    shell.SetStartScreenText("Load Blends...");
    LoadBlendFile(s.Bank, s.BlendFileName, kDefaultBlendFile, *s.Io.dialogs, *s.Io.display);
    LoadGigFiles(kDefaultBlendFile, s.Names, s.Songs, *s.Io.dialogs);
    shell.SetStartScreenText("Open MIDI Devices...");
    PortOrders orders{};
    PortClientPorts clientPorts{};
    const PortNames names = ReadPortsFile(std::cerr, &orders, &clientPorts);
    OpenAllPorts(s, names, orders, clientPorts);
    LoadMix(s.Bank, 0);
    SendStartUpSet(s);
    ShowTerca(s);
    s.Io.display->RefreshDisplay(RedrawAll);
    shell.CloseStartScreen();
}

// Returns whether the bank was written.
bool ShutDown(SystemState& s, Shell& shell) {
    shell.ShowStartScreen("Closing...");
    CloseAllPorts(s);
    const bool saved = SaveBlendFile(s.Bank, BlendFileForShutdown(s.BlendFileName), *s.Io.dialogs);
    FreeDeviceLists(s);
    shell.CloseStartScreen();
    return saved;
}

}  // namespace

int RunProgram(SystemState& s, Shell& shell) {
    bool bankSaved = false;
    try {
        StartUp(s, shell);
        shell.RunMessageLoop();
        bankSaved = ShutDown(s, shell);
    } catch (const std::exception& e) {
        shell.ShowException(e.what());
    }
    return bankSaved && !s.SettingsUnsaved ? 0 : kNotSavedStatus;
}

}  // namespace cadenzo
