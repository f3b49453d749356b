#pragma once

#include <QObject>

#include <csignal>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

// Turns the signals that ask a program to end (Ctrl-C's SIGINT, SIGTERM from
// a service manager or a closing session, SIGHUP from a closed terminal) into
// a Qt signal on the main thread while it lives: the handler only writes a
// byte into a pipe, and the event loop reads it there, so the stop runs as
// ordinary code. The previous handlers come back when the watcher ends. One
// watcher at a time.
class StopSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit StopSignalWatcher(std::initializer_list<int> signalNumbers = {SIGINT, SIGTERM, SIGHUP},
                               QObject* parent = nullptr);
    ~StopSignalWatcher() override;

    // False when the pipe or a handler could not be set up; those signals
    // then keep their default effect.
    bool isActive() const { return active; }

signals:
    void stopRequested();

private:
    void readPipe();

    struct Previous {
        int number;
        struct sigaction action;
    };

    int fds[2] = {-1, -1};
    std::vector<Previous> previous;
    bool active = false;
    QSocketNotifier* notifier = nullptr;
};
