// The program's entry point.
#include <QApplication>

#include "app/qt_shell.h"
#include "app/startup.h"
#include "app/thread_timer.h"
#include "midi/port_manager.h"
#include "midi/rtmidi/rtmidi_backend.h"
#include "ui/widgets/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The state lives longer than the main window, whose glide timer reads it.
    static cadenzo::SystemState state;
    cadenzo::QtDialogs dialogs;
    cadenzo::ThreadTimer timer;
    cadenzo::RtMidiBackend midi;
    state.Io.dialogs = &dialogs;
    state.Io.midi = &midi;
    int result = 0;
    {
        cadenzo::QtShell shell(state, timer, dialogs);
        result = cadenzo::RunProgram(state, shell);
    }
    // A run ended by an error may have left ports open: close them while
    // the MIDI service and the state their callbacks use still exist.
    if (state.Ports.OpenPortNumbers() != std::array<uint32_t, 6>{}) cadenzo::CloseAllPorts(state);
    return result;
}
