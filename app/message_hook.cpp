#include "app/message_hook.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

#include "engine/dispatcher.h"

namespace cadenzo {

bool MessageBoxShowing() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }

MessageHook::MessageHook(SystemState& state) : state_(state) {}

MessageHook::~MessageHook() {
    if (loopRunning_) SetLoopRunning(false);
}

void MessageHook::SetLoopRunning(bool running) {
    if (running == loopRunning_) return;
    loopRunning_ = running;
    if (running)
        ReleaseDispatch(state_.Input);  // and input that arrived during start-up is taken
    else
        HoldDispatch(state_.Input);
}

bool MessageHook::eventFilter(QObject* watched, QEvent* event) {
    NoteProgramMessage(state_, static_cast<uint32_t>(event->type()));
    return QObject::eventFilter(watched, event);
}

}  // namespace cadenzo
