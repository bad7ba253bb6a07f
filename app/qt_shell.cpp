#include "app/qt_shell.h"

#include <QApplication>
#include <QScreen>

#include "engine/engine_thread.h"
#include "services/dialogs.h"

namespace cadenzo {

QtShell::QtShell(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs)
    : state_(state), timer_(timer), dialogs_(dialogs), startScreen_(dialogs),
      termination_(std::make_unique<TerminationWatch>([this] { StopRequested(); })) {}

// Nobody is at the screen: the boxes answer themselves, and the run ends as
// soon as start-up is done, or now when the main loop runs.
void QtShell::StopRequested() {
    stopRequested_ = true;
    dialogs_.Unattend();
    if (mainForm_) mainForm_->close();
}

QtShell::~QtShell() {
    termination_.reset();
    if (hook_) qApp->removeEventFilter(hook_.get());
}

void QtShell::ShowStartScreen(const std::string& text) { startScreen_.ShowStartScreen(text); }
void QtShell::SetStartScreenText(const std::string& text) { startScreen_.SetStartScreenText(text); }
void QtShell::CloseStartScreen() { startScreen_.CloseStartScreen(); }

Display& QtShell::CreateMainWindow() {
    mainForm_ = std::make_unique<TMainForm>(state_, timer_, dialogs_);
    mainForm_->move(QGuiApplication::primaryScreen()->availableGeometry().center() -
                    mainForm_->rect().center());
    mainForm_->show();
    mainForm_->activateWindow();
    mainForm_->repaint();
    return *mainForm_;
}

void QtShell::InstallMessageHook() {
    hook_ = std::make_unique<MessageHook>(state_);
    qApp->installEventFilter(hook_.get());
}

void QtShell::RunMessageLoop() {
    const EngineThread engine(state_);  // the playing path, for as long as the loop runs
    if (hook_) hook_->SetLoopRunning(true);
    deviceFollowWatch_ = std::make_unique<DeviceFollowWatch>(state_);
    // However the loop ends (an exception out of an event handler included),
    // the watch stops and the dispatch is held before the window can go:
    // input from a port still open then only queues and never reaches it.
    struct LoopEnd {
        QtShell& shell;
        ~LoopEnd() {
            shell.deviceFollowWatch_.reset();
            if (shell.hook_) shell.hook_->SetLoopRunning(false);
        }
    } const loopEnd{*this};
    if (ready_) ready_();
    // A stop request during start-up may have come before or after the window.
    if (mainForm_ && mainForm_->isVisible() && !stopRequested_) QApplication::exec();
}

void QtShell::ShowException(const std::string& message) { cadenzo::ShowException(dialogs_, message); }

}  // namespace cadenzo
