// The start-up order's view of the Qt application: the main window, the
// message hook and the loop. Main thread only.
#pragma once

#include <functional>
#include <memory>

#include "app/device_follow_watch.h"
#include "app/message_hook.h"
#include "app/startup.h"
#include "app/termination.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/start_screen.h"

namespace cadenzo {

class QtShell final : public Shell {
public:
    QtShell(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs);
    ~QtShell() override;

    void ShowStartScreen(const std::string& text) override;
    void SetStartScreenText(const std::string& text) override;
    void CloseStartScreen() override;
    Display& CreateMainWindow() override;
    void InstallMessageHook() override;
    void RunMessageLoop() override;
    void ShowException(const std::string& message) override;

    // What to do once the start-up is done, just before the loop runs.
    void SetReadyAction(std::function<void()> ready) { ready_ = std::move(ready); }

    TMainForm* MainWindow() const { return mainForm_.get(); }
    TStartScreen* StartScreen() const { return startScreen_.StartScreen(); }

private:
    void StopRequested();

    SystemState& state_;
    MultimediaTimer& timer_;
    Dialogs& dialogs_;
    StartScreenControl startScreen_;
    std::unique_ptr<MessageHook> hook_;
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TerminationWatch> termination_;
    bool stopRequested_ = false;
    std::function<void()> ready_;
    std::unique_ptr<DeviceFollowWatch> deviceFollowWatch_;  // while the message loop runs
};

}  // namespace cadenzo
