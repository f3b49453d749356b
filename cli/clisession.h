#pragma once

#include "devicehandshake.h"
#include "table.h"
#include "zantobroadcaster.h"

#include <QString>

#include <memory>

class StderrNotifier;
class TBTMethod;
class TRXTX;
struct CliArguments;

// The client's objects as the window wires them, without a window: the bus,
// the link with its stack, the transport and the table store, whose
// progress and results go to standard error.
class CliSession {
public:
    CliSession(StderrNotifier& notifier, const CliArguments& arguments);
    ~CliSession();

    // The handshake on the one device the command line names. On success
    // both connected flags are set, as after the window's connected message;
    // on failure "DEVICE NOT FOUND" is printed.
    bool connect();

    StderrNotifier& notifier;
    TZantoBroadcaster bus;
    std::unique_ptr<TBTMethod> link;
    std::unique_ptr<TRXTX> rxtx;
    Table table;
    HandshakeAnswer answer;

private:
    QString address;
};
