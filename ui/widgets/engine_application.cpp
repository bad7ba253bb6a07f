#include "ui/widgets/engine_application.h"

#include <QDialog>
#include <QEvent>

#include "engine/system_state.h"

namespace cadenzo {

namespace {

// The events that only paint: they read no engine state.
bool Paints(QEvent::Type type) {
    return type == QEvent::Paint || type == QEvent::UpdateRequest || type == QEvent::UpdateLater ||
           type == QEvent::Expose;
}

SystemState* GuardedState() {
    auto* application = dynamic_cast<EngineApplication*>(QCoreApplication::instance());
    return application ? application->Guarded() : nullptr;
}

}  // namespace

EngineApplication::EngineApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool EngineApplication::notify(QObject* receiver, QEvent* event) {
    if (!guarded_ || Paints(event->type())) return QApplication::notify(receiver, event);
    EngineAccess access(guarded_->Engine);
    return QApplication::notify(receiver, event);
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
