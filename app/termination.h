// Ends the run in order when the system asks the program to stop (SIGTERM,
// SIGINT, SIGHUP): the main window is closed as if by the user, so the
// shutdown closes the ports and writes the bank back.
#pragma once

#include <QObject>

class QWidget;
class QSocketNotifier;

namespace cadenzo {

class TerminationWatch final : public QObject {
public:
    explicit TerminationWatch(QWidget& mainWindow);
    ~TerminationWatch() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cadenzo
