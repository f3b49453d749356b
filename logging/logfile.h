#pragma once

#include "logcolumns.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The .log file: a 15-byte header (range bytes, "ZaNtO", record format) and
// one record per sample. Format 1 records are 15 bytes; older files (another
// format byte, or no magic at all) carry 8-byte records of the first eight
// columns.
namespace LogFile {

inline constexpr int HeaderSize = 15;
inline constexpr int OldHeaderExtension = 9;   // after a header whose format is not 1
inline constexpr int RecordSize = 15;
inline constexpr int OldRecordSize = 8;
inline constexpr int FormatFull = 1;
inline constexpr int MagicOffset = 2;
inline constexpr int FormatOffset = 10;

// A file still being written as its recording runs carries this mark in the
// header's unused bytes 11..14; a finished file has zeros there. Readers
// ignore those bytes, so an unfinished file loads like any other.
inline constexpr int UnfinishedOffset = 11;
inline constexpr char UnfinishedMark[] = "REC";  // with its terminating 0: 4 bytes

// The 15-byte header; `unfinished` sets the mark above.
QByteArray header(int rangeLow, int rangeHigh, bool unfinished = false);
// Whether a header (at least 15 bytes) carries the mark.
bool isUnfinished(const QByteArray& header);

// The records of samples first .. last-1 into `out` (RecordSize bytes each).
void encodeRecords(const LogColumns& columns, qsizetype first, qsizetype last, char* out);

// The name a log is saved under: ".log" appended unless the name already
// ends in exactly that (case counts).
QString withLogExtension(const QString& fileName);

// Writes header and records of the log columns' first shortest() samples.
// False when the device refused a write; its errorString() says why.
bool write(QIODevice& device, const LogColumns& columns, int rangeLow, int rangeHigh);

// The size write() produces for n samples.
constexpr qint64 fileSize(qint64 samples) { return HeaderSize + RecordSize * samples; }

struct Contents {
    bool headerRead = false;  // all 15 header bytes arrived
    int rangeLow = 0;
    int rangeHigh = 0;
    int recordSize = OldRecordSize;
    LogColumns columns;       // every whole record that arrived
    bool readFailed = false;  // the device reported an error part way
    QString errorText;        // its reason when readFailed
};

// Reads a log from the device's current position to its end. Accepts any
// bytes: a short header gives no samples, a trailing partial record is
// ignored, and after a read error the records read so far are kept.
// The records land in `storage`, emptied first: columns handed back by an
// earlier recording keep their capacity, which spares the system fresh pages.
Contents read(QIODevice& device, LogColumns storage = {});

}  // namespace LogFile
