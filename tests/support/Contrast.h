#pragma once

#include <algorithm>
#include <cmath>

#include <QColor>

namespace testsupport {

// WCAG 2.1 relative luminance of an sRGB colour.
inline double luminance(QRgb colour) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
           0.0722 * channel(qBlue(colour));
}

// WCAG 2.1 contrast ratio of two colours, 1 to 21.
inline double contrast(QRgb one, QRgb other) {
    const double a = luminance(one), b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace testsupport
