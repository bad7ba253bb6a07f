#include "app/qt_shell.h"

#include <QApplication>
#include <QScreen>

#include "engine/copy_manager.h"
#include "engine/transmission.h"
#include "services/dialogs.h"

namespace cadenzo {

QtShell::QtShell(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs)
    : state_(state), timer_(timer), dialogs_(dialogs), startScreen_(dialogs) {}

QtShell::~QtShell() {
    termination_.reset();
    if (hook_) qApp->removeEventFilter(hook_.get());
}

void QtShell::ShowStartScreen(const std::string& text) { startScreen_.ShowStartScreen(text); }
void QtShell::SetStartScreenText(const std::string& text) { startScreen_.SetStartScreenText(text); }
void QtShell::CloseStartScreen() { startScreen_.CloseStartScreen(); }

Display& QtShell::CreateMainWindow() {
    const KeyActions actions{&ResetAllChannels, &ProgramCopy, &ChannelCopy,
                             [](SystemState& s) { return &s.Transmission.MasterVolume; }};
    mainForm_ = std::make_unique<TMainForm>(state_, timer_, dialogs_, actions);
    mainForm_->move(QGuiApplication::primaryScreen()->availableGeometry().center() -
                    mainForm_->rect().center());
    mainForm_->show();
    mainForm_->activateWindow();
    mainForm_->repaint();
    termination_ = std::make_unique<TerminationWatch>(*mainForm_);
    return *mainForm_;
}

void QtShell::InstallMessageHook() {
    hook_ = std::make_unique<MessageHook>(state_);
    qApp->installEventFilter(hook_.get());
}

void QtShell::RunMessageLoop() {
    if (hook_) hook_->SetLoopRunning(true);
    deviceWatch_ = std::make_unique<DeviceWatch>(state_);
    // A stop request during start-up may have closed the window already.
    if (mainForm_ && mainForm_->isVisible()) QApplication::exec();
    deviceWatch_.reset();
    if (hook_) hook_->SetLoopRunning(false);
}

void QtShell::ShowException(const std::string& message) { dialogs_.MessageBox(message, "Cadenzo"); }

}  // namespace cadenzo
