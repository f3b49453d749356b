#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// Turns Ctrl-C (SIGINT) into a Qt signal on the main thread while it lives:
// the handler only writes a byte into a pipe, and the event loop reads it
// there, so the stop runs as ordinary code. The previous handler comes back
// when the watcher ends.
class SigintWatcher : public QObject {
    Q_OBJECT
public:
    explicit SigintWatcher(QObject* parent = nullptr);
    ~SigintWatcher() override;

    // False when the pipe or the handler could not be set up; Ctrl-C then
    // keeps its default effect.
    bool isActive() const { return active; }

signals:
    void interrupted();

private:
    void readPipe();

    int fds[2] = {-1, -1};
    struct sigaction previous {};
    bool active = false;
    QSocketNotifier* notifier = nullptr;
};
