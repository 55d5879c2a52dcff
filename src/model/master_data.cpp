#include "master_data.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace fb {

qint32 startKmFromStoredValue(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(rounded);
}

} // namespace fb
