// Device follow's watch on the window thread (engine/device_follow.h does
// the following): while the message loop runs, whenever the back
// end signals a change (or once a second, when the back end has no wake for
// its changes), the ports are brought in line on the main thread.
// While a message box is open the work waits until it has closed, as the
// dispatcher does. Main thread only.
#pragma once

#include <QObject>

#include "engine/system_state.h"

class QSocketNotifier;
class QTimer;

namespace cadenzo {

class DeviceFollowWatch final : public QObject {
public:
    // Looks at the devices right away (they may have changed since they
    // were listed at start-up), then at every change.
    explicit DeviceFollowWatch(SystemState& state);

private:
    void Follow();

    SystemState& state_;
    QSocketNotifier* notifier_ = nullptr;  // on the back end's wake, when it has one
    QTimer* retry_;                        // while a message box is open
};

}  // namespace cadenzo
