#pragma once

#include "fdchannel.h"
#include "recordingnotifier.h"
#include "simulatedstack.h"
#include "simulatorhost.h"
#include "table.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantobroadcaster.h"

#include <QStringList>

#include <memory>

// A client connected to a simulated Converter over the real link code: the
// table store, the transport and the link, as the main window wires them.
// Toasts of the store land in the notifier like the window's would.
struct ConnectedConverter {
    explicit ConnectedConverter(const SimulatorOptions& options = SimulatorOptions())
        : device(options),
          link(&bus, nullptr, &notifier, std::make_unique<SimulatedStack>()),
          rxtx(&bus, &link, &notifier),
          table(notifier)
    {
        link.SetSocket(std::make_unique<FdByteChannel>(device.takeClientFd()));
        link.Connected = 1;
        rxtx.Connected = 1;
        table.SetUpTableView(nullptr, nullptr, false,
                             [this](const QString& t) { notifier.showToast(t); },
                             [this](const QString& t) { notifier.flashToast(t); });
        table.SetTransport(&rxtx);
    }

    // Every client send the device received, in order.
    QList<QByteArray> sends() const { return device.receivedReads(); }

    SimulatorHost device;
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TBTMethod link;
    TRXTX rxtx;
    Table table;
};
