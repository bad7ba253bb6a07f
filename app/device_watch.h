// Follows the MIDI devices while the message loop runs: whenever the back
// end signals a change, the ports are brought in line on the main thread.
// While a message box is open the work waits until it has closed, as the
// dispatcher does. Main thread only.
#pragma once

#include <QObject>

#include "engine/system_state.h"

class QSocketNotifier;
class QTimer;

namespace cadenzo {

class DeviceWatch final : public QObject {
public:
    // Looks at the devices right away (they may have changed since they
    // were listed at start-up), then at every change.
    explicit DeviceWatch(SystemState& state);

private:
    void Follow();

    SystemState& state_;
    QSocketNotifier* notifier_;
    QTimer* retry_;  // while a message box is open
};

}  // namespace cadenzo
