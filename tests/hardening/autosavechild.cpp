// The recording side of the autosave crash test: records from the simulated
// Converter into an autosave folder exactly as the window's logger does, and
// keeps a side log of every sample it received, written straight to the
// kernel every few milliseconds (a SIGKILL loses nothing the kernel has).
//
// autosavechild FOLDER SIDELOG
#include "clientlink.h"
#include "logautosave.h"
#include "logfile.h"
#include "messages.h"
#include "zantolog.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int side = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (side < 0)
        return 2;

    SimulatedConverterLink device;
    ClientLink& client = device.client;
    TZantoLog log(nullptr, &client.rxtx, client.bus, client.notifier);
    log.EnableAutosave(folder, [] { return QStringLiteral("Dcrash"); });

    qsizetype logged = 0;
    QTimer sideTimer;
    sideTimer.setInterval(5);
    QObject::connect(&sideTimer, &QTimer::timeout, [&] {
        const LogColumns tail = log.store().logColumnsFrom(logged);
        const qsizetype n = tail.shortest();
        if (n == 0)
            return;
        QByteArray records(n * LogFile::RecordSize, Qt::Uninitialized);
        LogFile::encodeRecords(tail, 0, n, records.data());
        if (::write(side, records.constData(), size_t(records.size())) != records.size())
            ::_exit(3);
        logged += n;
    });
    sideTimer.start();

    const TMsgStartLog start;
    client.bus.Broadcast(start);
    if (!log.loggingActive)
        return 4;
    return QCoreApplication::exec();
}
