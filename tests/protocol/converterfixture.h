#pragma once

#include "clientlink.h"
#include "table.h"

#include <QStringList>

// A client connected to a simulated Converter over the real link code, with
// the table store wired to its transport as the main window wires it. Toasts
// of the store land in the notifier like the window's would.
struct ConnectedConverter {
    explicit ConnectedConverter(const SimulatorOptions& options = SimulatorOptions())
        : connection(options), table(notifier)
    {
        table.SetUpTableView(nullptr, nullptr, false,
                             [this](const QString& t) { notifier.showToast(t); },
                             [this](const QString& t) { notifier.flashToast(t); });
        table.SetTransport(&rxtx);
    }

    // Every client send the device received, in order.
    QList<QByteArray> sends() const { return connection.sends(); }

    SimulatedConverterLink connection;
    SimulatorHost& device = connection.device;
    RecordingNotifier& notifier = connection.client.notifier;
    TZantoBroadcaster& bus = connection.client.bus;
    TBTMethod& link = connection.client.link;
    TRXTX& rxtx = connection.client.rxtx;
    Table table;
};
