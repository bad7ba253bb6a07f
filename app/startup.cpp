#include "app/startup.h"

#include <exception>

#include "bank/blend_file.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "midi/port_manager.h"
#include "services/display.h"
#include "services/redraw_mask.h"

namespace cadenzo {

namespace {

void StartUp(SystemState& s, Shell& shell) {
    shell.ShowStartScreen("Loading...");
    s.Io.display = &shell.CreateMainWindow();
    shell.SetStartScreenText("Initialize Blends...");
    InitBankDefaults(s.Bank);
    shell.SetStartScreenText("Initializing MIDI Devices...");
    EnumerateMidiDevices(s);
    shell.InstallMessageHook();
    shell.SetStartScreenText("Load Options...");
    LoadOptions(s.Options, s.Bank.GmMode, *s.Io.dialogs, *s.Io.display);
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
