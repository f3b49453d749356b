// Arbitrary bytes as the Converter's live stream: the poll thread's step
// (PollFrame) run over a channel that hands the bytes out in chunks of
// arbitrary size, until the stream ends and the poll gives up on it.
//
// Input: byte 0 seeds the chunk sizes (1..32) and whether the marker is
// held; the rest is the stream.
#include "logthread.h"
#include "recordingnotifier.h"
#include "bluetoothstack.h"
#include "tbtmethod.h"
#include "trxtx.h"
#include "zantolog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

class ChunkedChannel : public ByteChannel {
public:
    ChunkedChannel(const std::uint8_t* bytes, std::size_t n, std::uint32_t seed)
        : data(bytes), size(n), state(seed * 2654435761u + 1)
    {
    }
    void send(const QByteArray&) override {}
    QByteArray receive(int) override
    {
        if (pos >= size) {
            // The stream is over: report a dropped channel so that nobody
            // sits out a timeout on it.
            open = false;
            return {};
        }
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const std::size_t chunk = std::min<std::size_t>(1 + state % 32, size - pos);
        QByteArray out(reinterpret_cast<const char*>(data + pos), qsizetype(chunk));
        pos += chunk;
        return out;
    }
    bool isOpen() const override { return open; }
    void close() override { open = false; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    std::uint32_t state;
    bool open = true;
};

struct LiveSetup {
    RecordingNotifier notifier;
    TZantoBroadcaster bus;
    TBTMethod link{&bus, nullptr, &notifier, nullptr};
    TRXTX rxtx{&bus, &link, &notifier};
    TZantoLog log{nullptr, &rxtx, bus, notifier};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static LiveSetup* setup = new LiveSetup;
    setup->notifier.clear();
    setup->log.ClearLog();
    setup->log.badFrameCount = 0;
    setup->log.markerHeld = (data[0] & 0x80) != 0;
    setup->rxtx.ChannelFree = 1;
    setup->link.SetSocket(std::make_unique<ChunkedChannel>(data + 1, size - 1, data[0]));
    setup->link.Connected = 1;

    TLogThread poll(setup->log);
    // Each step consumes at least one byte or ends the poll; the bound only
    // guards the fuzzer against a step that stops doing either.
    const std::size_t steps = size + 8;
    std::size_t step = 0;
    while (!poll.Ended() && step++ < steps)
        poll.PollFrame();
    if (!poll.Ended())
        abort();

    const LogColumns columns = setup->log.store().logColumns();
    if (columns.shortest() != columns.count() || qsizetype(size / 19) < columns.count())
        abort();
    return 0;
}
