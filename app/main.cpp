// The program's entry point.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include <QApplication>

#include "app/command_line.h"
#include "app/cycle_timer.h"
#include "app/device_listing.h"
#include "app/program_folder.h"
#include "app/qt_shell.h"
#include "app/session_link.h"
#include "app/startup.h"
#include "app/thread_timer.h"
#include "bank/window_title.h"
#include "engine/port_manager.h"
#include "midi/port_names.h"
#include "midi/real_time_priority.h"
#include "midi/system_backend.h"
#include "ui/monitor_lines.h"
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

// Takes part in the session of the manager that started the program, if
// one did: announces, and enters the folder the server opens.
std::optional<cadenzo::JoinedSession> JoinSession(const char* executable) {
    const char* url = std::getenv("NSM_URL");
    if (url == nullptr || *url == '\0') return std::nullopt;
    std::string note;
    std::vector<cadenzo::SessionRefusal> refused;
    std::optional<cadenzo::JoinedSession> session = cadenzo::JoinSession(url, "Cadenzo", executable, note, refused);
    for (const cadenzo::SessionRefusal why : refused) std::cerr << "cadenzo: " << cadenzo::SessionRefusalLine(why) << '\n';
    if (!session) {
        std::cerr << "cadenzo: " << note << "; running without a session.\n";
        return std::nullopt;
    }
    std::string folderError;
    const cadenzo::NsmMessage& open = session->open;
    if (open.path.empty() || open.clientId.empty() || !cadenzo::EnterProgramFolder(open.path, folderError)) {
        const std::string problem = open.clientId.empty() ? "The session gave no client id." : folderError;
        session->client->Send(cadenzo::BuildError("/nsm/client/open", cadenzo::kNsmErrCreateFailed, problem));
        std::cerr << "cadenzo: " << problem << '\n';
        std::exit(cadenzo::kNotSavedStatus);
    }
    return session;
}

}  // namespace

int main(int argc, char** argv) {
    using Outcome = cadenzo::CommandLine::Outcome;
    const cadenzo::CommandLine commandLine = cadenzo::ParseCommandLine(Arguments(argc, argv));
    if (commandLine.outcome == Outcome::Error) return BadCommandLine(commandLine.text);
    if (commandLine.outcome == Outcome::ListDevices) {
        const std::unique_ptr<cadenzo::MidiBackend> midi = cadenzo::MakeSystemBackend(commandLine.options.midi);
        if (!midi->AnsweringService()) std::cerr << cadenzo::NoMidiServiceNote(commandLine.options.midi) << '\n';
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
    // Under a session its folder is the program's, and the client id its
    // name on the MIDI service; nothing is registered there before.
    const std::optional<cadenzo::JoinedSession> session = JoinSession(argv[0]);

    // Qt sees none of the arguments: they were all the program's own.
    int qtArgc = 1;
    cadenzo::EngineApplication app(qtArgc, argv);
    QApplication::setApplicationName("cadenzo");
    QApplication::setApplicationVersion(QString::fromLatin1(cadenzo::ProgramVersion()));
    // The desktop entry's name, which is also the software centre's id.
    QGuiApplication::setDesktopFileName("org.example.cadenzo");
    // The state lives longer than the main window, whose glide timer reads it.
    static cadenzo::SystemState state;
    // Before the MIDI service's threads start; the monitor says when it failed.
    state.Monitor.MemoryLockError = cadenzo::LockAllMemory();
    app.Guard(&state);
    cadenzo::QtDialogs shownDialogs;
    // Under a session nobody may be at the screen while it opens: what the
    // start-up would show in a box goes into the answer to the server.
    cadenzo::CollectingDialogs collectingDialogs(shownDialogs);
    cadenzo::Dialogs& dialogs = session ? static_cast<cadenzo::Dialogs&>(collectingDialogs) : shownDialogs;
    const std::unique_ptr<cadenzo::MidiBackend> midi =
        cadenzo::MakeSystemBackend(options.midi, session ? session->open.clientId : cadenzo::kDefaultClientName);
    if (!midi->AnsweringService()) std::cerr << cadenzo::NoMidiServiceNote(options.midi) << '\n';
    // The glide timer stays below the MIDI service's own real-time thread.
    cadenzo::ThreadTimer threadTimer(cadenzo::HelperPriority(cadenzo::kGlidePriority, midi->ServerClientPriority()));
    cadenzo::CycleTimer timer(*midi, threadTimer);
    state.Io.dialogs = &dialogs;
    state.Io.midi = midi.get();
    state.UnderSession = session.has_value();
    int result = 0;
    {
        std::unique_ptr<cadenzo::SessionLink> link;
        cadenzo::QtShell shell(state, timer, dialogs);
        if (session) {
            collectingDialogs.Collect();
            link = std::make_unique<cadenzo::SessionLink>(state, *session->client, collectingDialogs);
            shell.SetReadyAction([&link, &shell] { link->AnswerOpen(true, shell.MainWindow()); });
        }
        result = cadenzo::RunProgram(state, shell);
        if (link) link->AnswerOpen(false);
    }
    // A run ended by an error may have left ports open: close them while
    // the MIDI service and the state their callbacks use still exist.
    if (state.Ports.OpenPortNumbers() != cadenzo::PerPort<uint32_t>{}) cadenzo::CloseAllPorts(state);
    return result;
}
