#include "app/message_hook.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QSocketNotifier>

#include "engine/dispatcher.h"

namespace cadenzo {

bool MessageBoxShowing() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }

MessageHook::MessageHook(SystemState& state)
    : state_(state), wakeNotifier_(new QSocketNotifier(state.Input.Wake.Fd(), QSocketNotifier::Read, this)) {
    connect(wakeNotifier_, &QSocketNotifier::activated, this, [this] {
        state_.Input.Wake.Acknowledge();
        PostHandOff();
    });
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
