#include "logfile.h"

#include "logtexts.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>

namespace LogFile {

namespace {

// Records written per block: about a megabyte, so the file is never held in
// memory twice.
constexpr qsizetype BlockRecords = 65536;
// Records read per block: small enough that a block's bytes and the column
// entries it becomes stay in the processor's cache.
constexpr qsizetype ReadBlockRecords = 8192;

quint8 low8(qint32 value) { return static_cast<quint8>(static_cast<quint32>(value) & 0xFFu); }

// Magnitude byte and sign byte of a signed column. Unsigned arithmetic keeps
// the magnitude of any 32-bit value defined.
void putSigned(char* out, qint32 value)
{
    const quint32 magnitude = value < 0 ? 0u - static_cast<quint32>(value) : static_cast<quint32>(value);
    out[0] = static_cast<char>(magnitude & 0xFFu);
    out[1] = static_cast<char>(value < 0 ? 0x80 : 0x00);
}

qint32 getSigned(const uchar* in) { return in[1] != 0 ? -qint32(in[0]) : qint32(in[0]); }

// Reads until `size` bytes arrived or the device has no more; -1 on error.
qint64 readFully(QIODevice& device, char* data, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const qint64 got = device.read(data + total, size - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

// Column pointers and the record's bytes in locals: stores through qint32
// pointers could otherwise alias the input bytes and force reloads.
void decodeFull(const uchar* in, qsizetype records, qint32* const out[LogColumns::Count])
{
    qint32* const converter = out[0];
    qint32* const marker = out[1];
    qint32* const enrichment = out[2];
    qint32* const maf = out[3];
    qint32* const tps = out[4];
    qint32* const rpm = out[5];
    qint32* const o2 = out[6];
    qint32* const corr = out[7];
    qint32* const iat = out[8];
    qint32* const ect = out[9];
    qint32* const o2sm = out[10];
    qint32* const logCorr = out[11];
    for (qsizetype r = 0; r < records; ++r, in += RecordSize) {
        uchar b[RecordSize];
        std::memcpy(b, in, RecordSize);
        converter[r] = b[0];
        marker[r] = b[1];
        enrichment[r] = b[2];
        maf[r] = b[3];
        tps[r] = b[4];
        rpm[r] = qint32(b[5]) << 8 | b[6];
        o2[r] = b[7];
        corr[r] = getSigned(b + 8);
        iat[r] = b[10];
        ect[r] = b[11];
        o2sm[r] = b[12];
        logCorr[r] = getSigned(b + 13);
    }
}

// The old records carry the first eight columns; the rest stay 0.
void decodeOld(const uchar* in, qsizetype records, qint32* const out[LogColumns::Count])
{
    qint32* const converter = out[0];
    qint32* const marker = out[1];
    qint32* const enrichment = out[2];
    qint32* const maf = out[3];
    qint32* const tps = out[4];
    qint32* const rpm = out[5];
    qint32* const o2 = out[6];
    for (qsizetype r = 0; r < records; ++r, in += OldRecordSize) {
        uchar b[OldRecordSize];
        std::memcpy(b, in, OldRecordSize);
        converter[r] = b[0];
        marker[r] = b[1];
        enrichment[r] = b[2];
        maf[r] = b[3];
        tps[r] = b[4];
        rpm[r] = qint32(b[5]) << 8 | b[6];
        o2[r] = b[7];
    }
}

}  // namespace

QString withLogExtension(const QString& fileName)
{
    const QString extension = QString::fromLatin1(LogTexts::LogExtension);
    return fileName.endsWith(extension, Qt::CaseSensitive) ? fileName : fileName + extension;
}

QByteArray header(int rangeLow, int rangeHigh, bool unfinished)
{
    QByteArray bytes(HeaderSize, '\0');
    bytes[0] = static_cast<char>(low8(rangeLow));
    bytes[1] = static_cast<char>(low8(rangeHigh));
    std::memcpy(bytes.data() + MagicOffset, LogTexts::LogMagic, 5);  // byte 7 stays 0
    bytes[FormatOffset] = static_cast<char>(FormatFull);
    if (unfinished)
        std::memcpy(bytes.data() + UnfinishedOffset, UnfinishedMark, sizeof UnfinishedMark);
    return bytes;
}

bool isUnfinished(const QByteArray& bytes)
{
    return bytes.size() >= HeaderSize && std::memcmp(bytes.constData() + MagicOffset, LogTexts::LogMagic, 5) == 0
           && static_cast<uchar>(bytes[FormatOffset]) == FormatFull
           && std::memcmp(bytes.constData() + UnfinishedOffset, UnfinishedMark, sizeof UnfinishedMark) == 0;
}

void encodeRecords(const LogColumns& columns, qsizetype first, qsizetype last, char* out)
{
    const qint32* in[LogColumns::Count];
    for (int c = 0; c < LogColumns::Count; ++c)
        in[c] = (columns.*logColumnInfo[static_cast<std::size_t>(c)].column).constData();
    for (qsizetype k = first; k < last; ++k, out += RecordSize) {
        out[0] = static_cast<char>(low8(in[0][k]));
        out[1] = static_cast<char>(low8(in[1][k]));
        out[2] = static_cast<char>(low8(in[2][k]));
        out[3] = static_cast<char>(low8(in[3][k]));
        out[4] = static_cast<char>(low8(in[4][k]));
        out[5] = static_cast<char>(low8(in[5][k] >> 8));  // RPM, high byte first
        out[6] = static_cast<char>(low8(in[5][k]));
        out[7] = static_cast<char>(low8(in[6][k]));
        putSigned(out + 8, in[7][k]);
        out[10] = static_cast<char>(low8(in[8][k]));
        out[11] = static_cast<char>(low8(in[9][k]));
        out[12] = static_cast<char>(low8(in[10][k]));
        putSigned(out + 13, in[11][k]);
    }
}

bool write(QIODevice& device, const LogColumns& columns, int rangeLow, int rangeHigh)
{
    if (device.write(header(rangeLow, rangeHigh)) != HeaderSize)
        return false;

    const qsizetype n = columns.shortest();
    QByteArray block(std::min(n, BlockRecords) * RecordSize, Qt::Uninitialized);
    for (qsizetype start = 0; start < n; start += BlockRecords) {
        const qsizetype records = std::min(BlockRecords, n - start);
        encodeRecords(columns, start, start + records, block.data());
        const qint64 bytes = records * RecordSize;
        if (device.write(block.constData(), bytes) != bytes)
            return false;
    }
    return true;
}

Contents read(QIODevice& device, LogColumns storage)
{
    Contents result;
    storage.clear();
    result.columns = std::move(storage);
    auto fail = [&result, &device] {
        result.readFailed = true;
        result.errorText = device.errorString();
        return result;
    };

    std::array<char, HeaderSize + OldHeaderExtension> header{};
    const qint64 headerBytes = readFully(device, header.data(), HeaderSize);
    if (headerBytes < 0)
        return fail();
    if (headerBytes < HeaderSize)
        return result;
    result.headerRead = true;
    result.rangeLow = static_cast<uchar>(header[0]);
    result.rangeHigh = static_cast<uchar>(header[1]);

    if (std::memcmp(header.data() + MagicOffset, LogTexts::LogMagic, 5) == 0) {
        if (static_cast<uchar>(header[FormatOffset]) == FormatFull) {
            result.recordSize = RecordSize;
        } else {
            const qint64 skipped = readFully(device, header.data() + HeaderSize, OldHeaderExtension);
            if (skipped < 0)
                return fail();
            if (skipped < OldHeaderExtension)
                return result;
        }
    }
    const qsizetype recordSize = result.recordSize;

    if (!device.isSequential()) {
        // Room for every record at once; storage far larger than this file
        // needs is given back rather than kept for nothing.
        const qint64 needed = std::max<qint64>(device.size() - device.pos(), 0) / recordSize;
        const qint64 capacity = result.columns.colConverter.capacity();
        if (capacity > 2 * needed + ReadBlockRecords)
            result.columns = LogColumns();
        if (needed > result.columns.colConverter.capacity())
            result.columns.reserve(needed);
    }

    QByteArray block(ReadBlockRecords * recordSize, Qt::Uninitialized);
    qsizetype carried = 0;  // bytes of a record begun in the previous block
    for (;;) {
        const qint64 got = device.read(block.data() + carried, block.size() - carried);
        if (got < 0)
            return fail();
        if (got == 0)
            break;
        const qsizetype available = carried + got;
        const qsizetype records = available / recordSize;
        if (records > 0) {
            const qsizetype before = result.columns.count();
            result.columns.resize(before + records);
            qint32* out[LogColumns::Count];
            for (int c = 0; c < LogColumns::Count; ++c)
                out[c] = (result.columns.*logColumnInfo[static_cast<std::size_t>(c)].column).data() + before;
            const auto* in = reinterpret_cast<const uchar*>(block.constData());
            if (recordSize == RecordSize)
                decodeFull(in, records, out);
            else
                decodeOld(in, records, out);
        }
        carried = available - records * recordSize;
        if (carried > 0)
            std::memmove(block.data(), block.constData() + records * recordSize, static_cast<std::size_t>(carried));
    }
    return result;
}

}  // namespace LogFile
