#include "fdchannel.h"
#include "firmwareupdate.h"
#include "simulatedstack.h"
#include "simulatorhost.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "usernotifier.h"
#include "zantobroadcaster.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class QuietNotifier : public UserNotifier {
public:
    void showMessage(const QString& text) override { last = text; }
    void showError(const QString& text) override { last = text; }
    bool confirm(const QString&) override { return true; }
    void showToast(const QString&) override {}
    void flashToast(const QString&) override {}
    void processEvents() override {}
    QString last;
};

// A 64 KiB image cut into blocks of the given payload size, as hex text.
QByteArray imageText(int payload)
{
    QByteArray text;
    int left = 64 * 1024;
    while (left > 0) {
        const int n = qMin(payload, left);
        QByteArray block;
        block.append(static_cast<char>(n >> 8));
        block.append(static_cast<char>(n & 0xFF));
        block.append(QByteArray(n, '\x5A'));
        text += block.toHex(' ') + '\n';
        left -= n;
    }
    return text;
}

// A whole firmware update of 64 KiB against the simulated Converter, with the
// real link and its time limits. Nearly all of the time is the drain before
// each block, which waits for 500 ms of silence by design.
void BM_FirmwareUpdate64KiB(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("image.enc");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        state.SkipWithError("cannot write the image");
    file.write(imageText(static_cast<int>(state.range(0))));
    file.close();

    for (auto _ : state) {
        SimulatorHost device;
        QuietNotifier notifier;
        TZantoBroadcaster bus;
        TBTMethod link(&bus, nullptr, &notifier, std::make_unique<SimulatedStack>());
        TRXTX rxtx(&bus, &link, &notifier);
        link.SetSocket(std::make_unique<FdByteChannel>(device.takeClientFd()));
        link.Connected = 1;
        rxtx.Connected = 1;
        if (!UpdateFirmware(&rxtx, notifier, path, {}))
            state.SkipWithError(qPrintable(notifier.last));
    }
    state.SetBytesProcessed(state.iterations() * 64 * 1024);
}
BENCHMARK(BM_FirmwareUpdate64KiB)->Arg(1024)->Arg(4096)->Arg(16384)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
