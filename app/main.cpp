// The program's entry point.
#include <QApplication>

#include "app/qt_shell.h"
#include "app/startup.h"
#include "app/thread_timer.h"
#include "ui/widgets/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The state lives longer than the main window, whose glide timer reads it.
    static cadenzo::SystemState state;
    cadenzo::QtDialogs dialogs;
    cadenzo::ThreadTimer timer;
    state.Io.dialogs = &dialogs;
    cadenzo::QtShell shell(state, timer, dialogs);
    return cadenzo::RunProgram(state, shell);
}
