#include "app/device_follow_watch.h"

#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

#include "app/message_hook.h"
#include "engine/device_follow.h"
#include "midi/midi_backend.h"

namespace cadenzo {

namespace {
constexpr int kRetryMs = 200;
constexpr int kLookWithoutWakeMs = 1000;
}  // namespace

DeviceFollowWatch::DeviceFollowWatch(SystemState& state) : state_(state), retry_(new QTimer(this)) {
    retry_->setSingleShot(true);
    retry_->setInterval(kRetryMs);
    connect(retry_, &QTimer::timeout, this, &DeviceFollowWatch::Follow);
    if (const int fd = state.Io.midi->DeviceChanges().Fd(); fd >= 0) {
        notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &DeviceFollowWatch::Follow);
    } else {
        auto* look = new QTimer(this);
        connect(look, &QTimer::timeout, this, &DeviceFollowWatch::Follow);
        look->start(kLookWithoutWakeMs);
    }
    QTimer::singleShot(0, this, &DeviceFollowWatch::Follow);
}

void DeviceFollowWatch::Follow() {
    // While a message box is open the signal stays unread and the notifier rests.
    const bool wait = MessageBoxShowing();
    if (notifier_) notifier_->setEnabled(!wait);
    if (wait) {
        retry_->start();
        return;
    }
    // Acknowledged first, so that a change during the work signals again.
    state_.Io.midi->DeviceChanges().Acknowledge();
    FollowDeviceChanges(state_, std::chrono::steady_clock::now());
}

}  // namespace cadenzo
