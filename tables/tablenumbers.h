#pragma once

// Number conversions shared by the table operations: named roundings go to
// the nearest integer with halves to even; every conversion from a real
// number saturates, so no input can overflow an int.
namespace TableNumbers {

// Nearest integer, halves to the even neighbour; NaN gives 0.
double roundHalfEven(double value);
// Truncates toward zero into int, saturating at the int range; NaN gives 0.
int truncToInt(double value);
// roundHalfEven, then into int with saturation.
int roundToInt(double value);
// Limits a curve value to the output range 0..255.
int clampByte(int value);
// The low byte of value read as a signed 8-bit number.
int signedLowByte(int value);

}  // namespace TableNumbers
