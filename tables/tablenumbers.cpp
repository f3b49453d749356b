#include "tablenumbers.h"

#include <climits>
#include <cmath>

namespace TableNumbers {

double roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5)
        return down;
    if (diff > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

int truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

int roundToInt(double value)
{
    return truncToInt(roundHalfEven(value));
}

int clampByte(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

int signedLowByte(int value)
{
    const int low = static_cast<int>(static_cast<unsigned>(value) & 0xFFu);
    return low >= 128 ? low - 256 : low;
}

}  // namespace TableNumbers
