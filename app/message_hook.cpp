#include "app/message_hook.h"

#include <QEvent>

#include "engine/dispatcher.h"

namespace cadenzo {

bool MessageHook::eventFilter(QObject* watched, QEvent* event) {
    DispatchInput(state_, static_cast<uint32_t>(event->type()));
    return QObject::eventFilter(watched, event);
}

}  // namespace cadenzo
