// The hook of the message loop: every event the application delivers on the
// main thread passes the input dispatcher first.
#pragma once

#include <QObject>

#include "engine/system_state.h"

namespace cadenzo {

class MessageHook final : public QObject {
public:
    explicit MessageHook(SystemState& state) : state_(state) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SystemState& state_;
};

}  // namespace cadenzo
