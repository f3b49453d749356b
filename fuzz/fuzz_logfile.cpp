// Arbitrary bytes as a .log file, through the logger's load (the device
// overload the file path uses too) and then a save of what was read.
#include "logfile.h"
#include "recordingnotifier.h"
#include "zantolog.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static RecordingNotifier notifier;
    static TZantoBroadcaster bus;
    static TZantoLog log(nullptr, bus, notifier);
    notifier.clear();

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    log.LoadLog(device, QStringLiteral("fuzz.log"));

    // What a load leaves must be consistent enough to chart and write back.
    const LogColumns columns = log.store().logColumns();
    QByteArray out;
    QBuffer sink(&out);
    sink.open(QIODevice::WriteOnly);
    LogFile::write(sink, columns, log.rangeLow, log.rangeHigh);
    if (out.size() != LogFile::fileSize(columns.shortest()))
        abort();
    return 0;
}
