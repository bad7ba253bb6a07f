#include "ui/widgets/engine_application.h"

#include <QAbstractEventDispatcher>
#include <QDialog>
#include <QEvent>

#include <algorithm>
#include <utility>

#include "engine/dispatcher.h"
#include "engine/system_state.h"

namespace cadenzo {

namespace {

// The events that only lay out, style or paint, and the shortcut override,
// which only asks the focus widget whether it takes a key itself (the
// window has no shortcuts: the key comes next, under the lock).
bool NeedsNoEngine(QEvent::Type type) {
    switch (type) {
    case QEvent::ShortcutOverride:
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Expose:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::LayoutRequest:
    case QEvent::Polish:
    case QEvent::PolishRequest:
    case QEvent::ChildPolished:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        return true;
    default:
        return false;
    }
}

SystemState* GuardedState() {
    auto* application = dynamic_cast<EngineApplication*>(QCoreApplication::instance());
    return application ? application->Guarded() : nullptr;
}

}  // namespace

EngineApplication::EngineApplication(int& argc, char** argv) : QApplication(argc, argv) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { AboutToWait(); },
            Qt::DirectConnection);
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { Awake(); }, Qt::DirectConnection);
}

void EngineApplication::AboutToWait() {
    if (!guarded_ || !guarded_->Engine.HeldByThisThread()) return;
    releasedToWait_ = &guarded_->Engine;
    releasedToWait_->Unlock();
}

void EngineApplication::Awake() {
    if (!releasedToWait_) return;
    std::exchange(releasedToWait_, nullptr)->Lock();
}

void EngineApplication::LeaveUnguarded(QObject* object) {
    std::erase_if(unguarded_, [](const QPointer<QObject>& gone) { return gone.isNull(); });
    unguarded_.emplace_back(object);
}

bool EngineApplication::Unguarded(QObject* receiver) const {
    for (QObject* object = receiver; object; object = object->parent())
        if (std::find(unguarded_.begin(), unguarded_.end(), object) != unguarded_.end()) return true;
    return false;
}

bool EngineApplication::notify(QObject* receiver, QEvent* event) {
    // Input may rise from an unguarded widget to a guarded parent's handler.
    if (!guarded_ || NeedsNoEngine(event->type()) || (!event->isInputEvent() && Unguarded(receiver)))
        return QApplication::notify(receiver, event);
    const bool outermost = !guarded_->Engine.HeldByThisThread();
    const EngineAccess access(guarded_->Engine);
    const bool result = QApplication::notify(receiver, event);
    // Input that came while the window held the engine is played now, not
    // after the engine thread has woken.
    if (outermost) DispatchPending(*guarded_);
    return result;
}

void LeaveUnguarded(QObject* object) {
    if (auto* application = dynamic_cast<EngineApplication*>(QCoreApplication::instance()))
        application->LeaveUnguarded(object);
}

int RunModal(QDialog& dialog, bool messageBox) {
    SystemState* state = GuardedState();
    if (!state) return dialog.exec();
    if (messageBox) HoldDispatch(state->Input);
    int result = 0;
    {
        EngineReleased released(state->Engine);
        result = dialog.exec();
    }
    if (messageBox) ReleaseDispatch(state->Input);
    return result;
}

}  // namespace cadenzo
