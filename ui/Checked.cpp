#include "ui/Checked.h"

#include <cmath>

namespace ui {

void throwRangeError(long long index, long long low, long long high) {
    throw RangeError(QStringLiteral("Range check error: index %1 outside %2..%3")
                         .arg(index)
                         .arg(low)
                         .arg(high));
}

void throwOverflowError() { throw RangeError(QStringLiteral("Integer overflow")); }

long long roundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9.0e18) {
        throwOverflowError();
    }
    double rounded = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        rounded = 2.0 * std::round(value / 2.0);
    }
    return static_cast<long long>(rounded);
}

}  // namespace ui
