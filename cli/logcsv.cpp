#include "logcsv.h"

#include "clitexts.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>

namespace LogCsv {

namespace {

// Rows per block written to a device: about a megabyte of text.
constexpr qsizetype BlockRows = 16384;
// The longest row: a time of up to 20 digits, twelve signed 32-bit values
// (11 characters each), thirteen separators and the line break.
constexpr qsizetype MaxRowBytes = 24 + LogColumns::Count * 12 + 2;
// The period of the live samples, in milliseconds.
constexpr qint64 SamplePeriodMs = 20;

// Writes the decimal digits of value backwards from end; returns the first.
char* digitsBackwards(char* end, quint64 value)
{
    do {
        *--end = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return end;
}

char* putUnsigned(char* out, quint64 value)
{
    char digits[20];
    char* const end = digits + sizeof digits;
    const char* first = digitsBackwards(end, value);
    const auto n = size_t(end - first);
    std::memcpy(out, first, n);
    return out + n;
}

char* putSigned(char* out, qint32 value)
{
    if (value < 0) {
        *out++ = '-';
        // Unsigned arithmetic keeps the magnitude of the smallest value defined.
        return putUnsigned(out, 0u - static_cast<quint32>(value));
    }
    return putUnsigned(out, static_cast<quint32>(value));
}

// Seconds with three decimals from whole milliseconds: exact, no rounding.
char* putTime(char* out, quint64 ms)
{
    out = putUnsigned(out, ms / 1000);
    const auto frac = unsigned(ms % 1000);
    out[0] = '.';
    out[1] = char('0' + frac / 100);
    out[2] = char('0' + frac / 10 % 10);
    out[3] = char('0' + frac % 10);
    return out + 4;
}

}  // namespace

QByteArray headerLine()
{
    QByteArray line(CliTexts::CsvTime);
    for (const LogColumnInfo& info : logColumnInfo) {
        line.append(',');
        line.append(info.title);
    }
    line.append('\n');
    return line;
}

void appendRows(const LogColumns& columns, qsizetype first, qsizetype end, QByteArray& out)
{
    end = std::min(end, columns.shortest());
    if (first >= end)
        return;
    std::array<const qint32*, LogColumns::Count> in{};
    for (std::size_t c = 0; c < in.size(); ++c)
        in[c] = (columns.*logColumnInfo[c].column).constData();

    const qsizetype start = out.size();
    out.resize(start + (end - first) * MaxRowBytes);
    char* const base = out.data();
    char* p = base + start;
    for (qsizetype k = first; k < end; ++k) {
        p = putTime(p, quint64(k) * SamplePeriodMs);
        for (const qint32* column : in) {
            *p++ = ',';
            p = putSigned(p, column[k]);
        }
        *p++ = '\n';
    }
    out.resize(p - base);
}

QByteArray toCsv(const LogColumns& columns)
{
    QByteArray out = headerLine();
    appendRows(columns, 0, columns.shortest(), out);
    return out;
}

bool write(QIODevice& device, const LogColumns& columns)
{
    QByteArray block = headerLine();
    const qsizetype n = columns.shortest();
    block.reserve(std::min(n, BlockRows) * MaxRowBytes + block.size());
    qsizetype k = 0;
    do {
        const qsizetype end = std::min(n, k + BlockRows);
        appendRows(columns, k, end, block);
        k = end;
        if (device.write(block) != block.size())
            return false;
        block.resize(0);  // keeps the capacity for the next block
    } while (k < n);
    return true;
}

}  // namespace LogCsv
