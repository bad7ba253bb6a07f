// The program's entry point.
#include <iostream>
#include <memory>

#include <QApplication>

#include "app/command_line.h"
#include "app/cycle_timer.h"
#include "app/program_folder.h"
#include "app/qt_shell.h"
#include "app/startup.h"
#include "app/thread_timer.h"
#include "bank/window_title.h"
#include "engine/port_manager.h"
#include "midi/device_listing.h"
#include "midi/system_backend.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/qt_dialogs.h"

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int BadCommandLine(const std::string& message) {
    std::cerr << "cadenzo: " << message << "\nTry 'cadenzo --help' for more information.\n";
    return cadenzo::kBadCommandLineStatus;
}

}  // namespace

int main(int argc, char** argv) {
    using Outcome = cadenzo::CommandLine::Outcome;
    const cadenzo::CommandLine commandLine = cadenzo::ParseCommandLine(Arguments(argc, argv));
    if (commandLine.outcome == Outcome::Error) return BadCommandLine(commandLine.text);
    if (commandLine.outcome == Outcome::ListDevices) {
        const std::unique_ptr<cadenzo::MidiBackend> midi = cadenzo::MakeSystemBackend(commandLine.options.midi);
        if (midi->ServiceName() == "none") std::cerr << cadenzo::NoMidiServiceNote(commandLine.options.midi) << '\n';
        std::cout << cadenzo::DeviceListing(*midi);
        return 0;
    }
    if (commandLine.outcome != Outcome::Run) {
        std::cout << commandLine.text;
        return 0;
    }
    const cadenzo::StartOptions& options = commandLine.options;
    std::string folderError;
    if (options.dir && !cadenzo::EnterProgramFolder(*options.dir, folderError)) return BadCommandLine(folderError);

    // Qt sees none of the arguments: they were all the program's own.
    int qtArgc = 1;
    cadenzo::EngineApplication app(qtArgc, argv);
    QApplication::setApplicationName("cadenzo");
    QApplication::setApplicationVersion(QString::fromLatin1(cadenzo::ProgramVersion()));
    // The desktop entry's name, which is also the software centre's id.
    QGuiApplication::setDesktopFileName("org.example.cadenzo");
    // The state lives longer than the main window, whose glide timer reads it.
    static cadenzo::SystemState state;
    app.Guard(&state);
    cadenzo::QtDialogs dialogs;
    cadenzo::ThreadTimer threadTimer;
    const std::unique_ptr<cadenzo::MidiBackend> midi = cadenzo::MakeSystemBackend(options.midi);
    if (midi->ServiceName() == "none") std::cerr << cadenzo::NoMidiServiceNote(options.midi) << '\n';
    cadenzo::CycleTimer timer(*midi, threadTimer);
    state.Io.dialogs = &dialogs;
    state.Io.midi = midi.get();
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
