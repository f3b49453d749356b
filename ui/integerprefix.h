#pragma once

#include <QString>

// The integer a text starts with: leading blanks skipped, an optional sign,
// then decimal digits; no digits gives 0. Only the low 16 bits are kept,
// which is all a grid cell stores, so an arbitrarily long digit run cannot
// overflow.
quint16 integerPrefixLow16(const QString& text);
