// The program under a session manager, once the server has opened the
// session: answers that open when the start-up is done, saves on the
// server's request (one asked for during the start-up once it is done),
// hides and shows the window when the server says so, and tells the server whether what the files hold is
// behind what the program holds. Main thread only.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "session/nsm_client.h"
#include "session/session_files.h"

namespace cadenzo {

struct SystemState;

class SessionLink final : public QObject {
public:
    SessionLink(SystemState& state, NsmClient& client, CollectingDialogs& dialogs);

    // Answers the server's open with what the start-up reported: `ready`
    // when it finished (`window` is the main window then, which the server
    // may hide and show again), else it ended in an error. Only the first
    // call answers.
    void AnswerOpen(bool ready, QWidget* window = nullptr);

private:
    void Read();
    void Save();
    void LookForChanges();
    void Refused(SessionRefusal why);
    void ShowWindow(bool shown);

    SystemState& state_;
    NsmClient& client_;
    CollectingDialogs& dialogs_;
    QSocketNotifier notifier_;
    QTimer changes_;
    SavedImage saved_;
    QWidget* window_ = nullptr;
    bool answered_ = false;
    bool saveWaits_ = false;  // a save asked for while the session opened
    bool dirty_ = false;
};

}  // namespace cadenzo
