#include "anglevalues.h"

#include <algorithm>
#include <cmath>

namespace {

double roundToOneDecimal(double v)
{
    return std::nearbyint(v * 10.0) / 10.0;  // the default rounding mode sends halves to even
}

}  // namespace

double angleFromTableEntry(qint32 entry)
{
    const auto tenths = static_cast<qint8>(static_cast<quint8>(entry & 0xFF));
    return roundToOneDecimal(tenths / 10.0);
}

qint32 writeValueFromAngle(double angle)
{
    const double tenths = roundToOneDecimal(angle * 10.0);
    if (!std::isfinite(tenths))
        return 0;
    return static_cast<qint32>(std::trunc(std::clamp(tenths, -2147483648.0, 2147483647.0)));
}
