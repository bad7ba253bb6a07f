#include "app/session_link.h"

#include <iostream>

#include "engine/system_state.h"
#include "ui/monitor_lines.h"

namespace cadenzo {

namespace {

constexpr const char* kOpenPath = "/nsm/client/open";
constexpr const char* kSavePath = "/nsm/client/save";
// How often what the program holds is compared with what the files hold.
constexpr int kChangeLookMs = 1000;

}  // namespace

SessionLink::SessionLink(SystemState& state, NsmClient& client, CollectingDialogs& dialogs)
    : state_(state), client_(client), dialogs_(dialogs), notifier_(client.Socket(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &SessionLink::Read);
    connect(&changes_, &QTimer::timeout, this, &SessionLink::LookForChanges);
}

void SessionLink::AnswerOpen(bool ready, QWidget* window) {
    if (answered_) return;
    answered_ = true;
    std::string problems = OpenProblems(dialogs_.Collected());
    if (!ready && problems.empty()) problems = "The program ended before it was ready.";
    if (problems.empty()) {
        client_.Send(BuildReply(kOpenPath, "Opened."));
    } else {
        std::cerr << "cadenzo: " << problems << '\n';
        client_.Send(BuildError(kOpenPath, kNsmErrBadProject, problems));
    }
    if (!ready) {
        if (saveWaits_) client_.Send(BuildError(kSavePath, kNsmErrGeneral, problems));
        return;
    }
    {
        const EngineAccess access(state_.Engine);
        saved_.Take(state_);
    }
    changes_.start(kChangeLookMs);
    window_ = window;
    if (window_) ShowWindow(window_->isVisible());
    if (saveWaits_) Save();
}

void SessionLink::Read() {
    while (const std::optional<NsmClient::Received> received = client_.Receive(std::chrono::milliseconds(0))) {
        if (!received->message) {
            Refused(received->refused);
            continue;
        }
        switch (received->message->command) {
        case NsmCommand::Save:
            Save();
            break;
        case NsmCommand::Open:
            // The program opens one session per run.
            client_.Send(BuildError(kOpenPath, kNsmErrGeneral, "Cadenzo cannot switch sessions."));
            break;
        case NsmCommand::ShowGui:
        case NsmCommand::HideGui:
            if (window_) ShowWindow(received->message->command == NsmCommand::ShowGui);
            break;
        default:
            break;  // the rest needs no answer
        }
    }
}

void SessionLink::Save() {
    if (!answered_) {
        saveWaits_ = true;  // saved once the opening is done
        return;
    }
    const std::string failed = SaveSessionFiles(state_, dialogs_);
    if (!failed.empty()) {
        std::cerr << "cadenzo: " << failed << '\n';
        client_.Send(BuildError(kSavePath, kNsmErrGeneral, failed));
        return;
    }
    client_.Send(BuildReply(kSavePath, "Saved."));
    {
        const EngineAccess access(state_.Engine);
        saved_.Take(state_);
    }
    dirty_ = true;  // so that the look below says clean
    LookForChanges();
}

void SessionLink::LookForChanges() {
    bool dirty = false;
    {
        const EngineAccess access(state_.Engine);
        dirty = saved_.Differs(state_);
    }
    if (dirty == dirty_) return;
    dirty_ = dirty;
    client_.Send(BuildNotice(dirty ? "/nsm/client/is_dirty" : "/nsm/client/is_clean"));
}

// The window hidden goes on playing: only its keys wait until it is back.
void SessionLink::ShowWindow(bool shown) {
    window_->setVisible(shown);
    client_.Send(BuildNotice(shown ? "/nsm/client/gui_is_shown" : "/nsm/client/gui_is_hidden"));
}

void SessionLink::Refused(SessionRefusal why) {
    std::cerr << "cadenzo: " << SessionRefusalLine(why) << '\n';
    MonitorSessionRefusal(state_, why);
}

}  // namespace cadenzo
