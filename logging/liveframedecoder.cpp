#include "liveframedecoder.h"

#include "crc8.h"
#include "logstore.h"

namespace LiveFrame {

namespace {

std::int32_t word(const std::uint8_t* frame, int index)
{
    return std::int32_t(frame[2 * index]) | std::int32_t(frame[2 * index + 1]) << 8;
}

}  // namespace

bool checks(const std::uint8_t* frame) { return crc8(frame, CheckedBytes) == frame[CheckedBytes]; }

LogSample decode(const std::uint8_t* frame, bool markerHeld)
{
    LogSample s;
    s.rawOutput = word(frame, 0);
    s.rawAngle = word(frame, 1);
    s.rawIat = word(frame, 2);
    s.rawAt = word(frame, 3);
    s.rawLine1 = word(frame, 4);
    s.rawLine2 = word(frame, 5);
    s.rawRef = word(frame, 6);
    s.rawAux = word(frame, 7);
    s.colConverter = frame[0];
    s.colMarker = markerHeld ? MarkerHeldValue : 0;
    s.colO2 = word(frame, 8) >> 2;
    return s;
}

Verdict accept(const std::uint8_t* frame, std::size_t received, int& badFrameCount, bool markerHeld,
               LogStore& store)
{
    if (received < static_cast<std::size_t>(Size) || badFrameCount >= MaxBadFrames)
        return Verdict::Failure;
    if (!checks(frame)) {
        ++badFrameCount;
        return Verdict::BadFrame;
    }
    badFrameCount = 0;
    store.append(decode(frame, markerHeld));
    return Verdict::Sample;
}

}  // namespace LiveFrame
