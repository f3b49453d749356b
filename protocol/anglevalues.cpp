#include "anglevalues.h"

#include <cfenv>
#include <cmath>

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; say so explicitly.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value * scale) / scale;
    std::fesetround(previous);
    return rounded;
}

double angleFromTableEntry(int entry)
{
    const auto tenths = static_cast<std::int8_t>(static_cast<std::uint8_t>(entry & 0xFF));
    return roundHalfEven(tenths / 10.0, 1);
}

std::int8_t writeValueFromAngle(double angle)
{
    const double tenths = std::trunc(roundHalfEven(angle * 10.0, 1));
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<int>(tenths) & 0xFF));
}

std::uint8_t previewByteFromAngle(double angle)
{
    const double tenths = roundHalfEven(angle * 10.0, 0);
    return static_cast<std::uint8_t>(static_cast<int>(tenths) & 0xFF);
}
