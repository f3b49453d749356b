#pragma once

#include <cstdint>

// Conversions between the sensor-angle box (degrees, one decimal) and the
// angle entry of the table (tenths of a degree in one signed byte).

// The box value for a table entry: its low byte taken as signed, divided by
// ten, rounded to one decimal (halves to even).
double angleFromTableEntry(int entry);

// The byte to write for a box value: the value times ten rounded to one
// decimal (which mends the binary error of values such as 2.3 * 10), then
// truncated toward zero.
std::int8_t writeValueFromAngle(double angle);

// The preview byte sent while the box changes: the angle times ten rounded
// to an integer (halves to even), low byte.
std::uint8_t previewByteFromAngle(double angle);

// Rounds to the given number of decimals, halves going to the even neighbour.
double roundHalfEven(double value, int decimals);
