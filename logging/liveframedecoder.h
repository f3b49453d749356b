#pragma once

#include "logcolumns.h"

#include <cstddef>
#include <cstdint>

class LogStore;

// The Converter's live frame: nine little-endian 16-bit words (output, angle,
// IAT, AT, line 1, line 2, REF, aux, O2) and a CRC-8 of bytes 0..17.
namespace LiveFrame {

inline constexpr int Size = 19;
inline constexpr int CheckedBytes = 18;

// Consecutive bad frames after which the live poll gives up on the Converter.
inline constexpr int MaxBadFrames = 200;

// The "Marker" entry while the person holds the marker button. The log chart
// plots it unchanged on its fixed 0..5 left axis, where the oxygen traces are
// drawn in volts (a narrow-band sensor stays below about 1 V): 4 draws a red
// step well clear of them and of the frame's top edge, so a held marker shows
// as a raised plateau from press to release. 0 means no marker.
inline constexpr std::int32_t MarkerHeldValue = 4;

// True when byte 18 is the CRC-8 of bytes 0..17.
bool checks(const std::uint8_t* frame);

// The sample a checked frame makes: the nine words into the raw columns and
// the log columns "Converter" (low byte of the output), "Marker" and "O2"
// (the 10-bit reading's top eight bits); every other log column 0.
LogSample decode(const std::uint8_t* frame, bool markerHeld);

enum class Verdict {
    Sample,     // checked and appended
    BadFrame,   // failed the check: drop one more byte to shift the frame boundary
    Failure,    // short read, or too many bad frames in a row: the Converter is gone
};

// One step of the live poll after its 19-byte read: `received` is how many
// bytes arrived. A good frame resets badFrameCount and appends its sample;
// a bad one counts. Once MaxBadFrames bad frames came in a row the next read
// is a failure, whatever it delivered.
Verdict accept(const std::uint8_t* frame, std::size_t received, int& badFrameCount, bool markerHeld,
               LogStore& store);

}  // namespace LiveFrame
