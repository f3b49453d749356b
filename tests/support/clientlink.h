#pragma once

#include "fdchannel.h"
#include "recordingnotifier.h"
#include "simulatedstack.h"
#include "simulatorhost.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QList>

#include <memory>

// The client's end of a connection as the main window wires it after a
// successful handshake: the bus, the link with its socket open and both
// connected flags set, and the transport. Whatever the model says to the
// person lands in the notifier.
struct ClientLink {
    explicit ClientLink(std::unique_ptr<ByteChannel> channel)
        : link(&bus, nullptr, &notifier, std::make_unique<SimulatedStack>()), rxtx(&bus, &link, &notifier)
    {
        link.SetSocket(std::move(channel));
        link.Connected = 1;
        rxtx.Connected = 1;
    }

    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TBTMethod link;
    TRXTX rxtx;
};

// A client connected to a simulated Converter over the real link code (a
// socketpair, the simulator on its own thread).
struct SimulatedConverterLink {
    explicit SimulatedConverterLink(const SimulatorOptions& options = SimulatorOptions())
        : device(options), client(std::make_unique<FdByteChannel>(device.takeClientFd()))
    {
    }

    // Every client send the device received, in order.
    QList<QByteArray> sends() const { return device.receivedReads(); }

    SimulatorHost device;
    ClientLink client;
};
