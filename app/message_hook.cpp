#include "app/message_hook.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include "engine/dispatcher.h"

namespace cadenzo {

bool MessageBoxShowing() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }

namespace {
constexpr int kInputPollMs = 1;  // without a wake descriptor, the queue is looked at this often
}  // namespace

MessageHook::MessageHook(SystemState& state) : state_(state) {
    if (state.Input.Wake.Fd() >= 0) {
        auto* notifier = new QSocketNotifier(state.Input.Wake.Fd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            state_.Input.Wake.Acknowledge();
            PostHandOff();
        });
    } else {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this] {
            if (!state_.Input.Queue.Empty()) PostHandOff();
        });
        poll->start(kInputPollMs);
    }
}

MessageHook::~MessageHook() = default;

void MessageHook::SetLoopRunning(bool running) {
    loopRunning_ = running;
    if (running) PostHandOff();  // input that arrived during start-up
}

void MessageHook::PostHandOff() {
    QCoreApplication::postEvent(qApp, new QEvent(static_cast<QEvent::Type>(kHandOffMessage)));
}

bool MessageHook::MayDispatch() const {
    return loopRunning_ && !MessageBoxShowing();
}

bool MessageHook::eventFilter(QObject* watched, QEvent* event) {
    const auto id = static_cast<uint32_t>(event->type());
    if (!MayDispatch()) {
        if (id == kHandOffMessage) handOffWaiting_ = true;
    } else {
        if (handOffWaiting_) {
            handOffWaiting_ = false;
            if (id != kHandOffMessage) PostHandOff();
        }
        DispatchInput(state_, id);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace cadenzo
