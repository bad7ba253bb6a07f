// Hears the system ask the program to stop (SIGTERM, SIGINT, SIGHUP) and
// runs the given reaction on the main thread, from whatever event loop runs
// then (the main loop, a message box's, the start screen's). The reaction
// ends the run in order: the shutdown still closes the ports and writes the
// bank back.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace cadenzo {

class TerminationWatch final : public QObject {
public:
    explicit TerminationWatch(std::function<void()> onStop);
    ~TerminationWatch() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cadenzo
