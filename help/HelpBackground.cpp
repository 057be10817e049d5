#include "help/HelpBackground.h"

#include <cmath>

#include "app/Colours.h"
#include "ui/Checked.h"

namespace help {

namespace {

// The design unit that holds the centre of a picture pixel.
int designUnit(int pixel, double ratio) {
    return static_cast<int>(std::floor((pixel + 0.5) / ratio));
}

// The first pixel of a line of pixels whose centre lies in the design unit `from` or beyond.
int firstPixelFrom(int from, int pixels, double ratio) {
    int pixel = 0;
    while (pixel < pixels && designUnit(pixel, ratio) < from) {
        ++pixel;
    }
    return pixel;
}

// A draw r of 0..n-1 taken from 32 random bits u as r = u * n / 2^32 exceeds 1 exactly when u
// reaches this bound; for n up to 2 no u does.
std::uint64_t dodgerBlueBound(int n) {
    constexpr std::uint64_t kTwoTimes2To32 = std::uint64_t{1} << 33;
    if (n <= 2) {
        return kTwoTimes2To32;
    }
    const auto count = static_cast<std::uint64_t>(n);
    return (kTwoTimes2To32 + count - 1) / count;
}

void fillRow(QRgb* row, int from, int to, QRgb colour) {
    for (int x = from; x < to; ++x) {
        row[x] = colour;
    }
}

void ditherRow(QRgb* row, int from, int to, std::uint64_t bound, DitherRandom& random) {
    int x = from;
    for (; x + 1 < to; x += 2) {
        const std::uint64_t bits = random.next();
        row[x] = (bits & 0xFFFFFFFFu) >= bound ? colours::kDodgerBlue : colours::kDeepSkyBlue;
        row[x + 1] = (bits >> 32) >= bound ? colours::kDodgerBlue : colours::kDeepSkyBlue;
    }
    if (x < to) {
        row[x] =
            (random.next() & 0xFFFFFFFFu) >= bound ? colours::kDodgerBlue : colours::kDeepSkyBlue;
    }
}

}  // namespace

void paintHelpBackground(QImage& image, int width, int height, DitherRandom& random) {
    if (image.depth() != 32 || image.isNull()) {
        throw ui::RangeError(QStringLiteral("The help background needs a 32-bit picture"));
    }
    const double ratio = image.devicePixelRatio();
    const int pixelsWide = image.width();
    const int pixelsHigh = image.height();
    const int left = firstPixelFrom(2, pixelsWide, ratio);
    const int right = firstPixelFrom(width - 1, pixelsWide, ratio);
    const int top = firstPixelFrom(2, pixelsHigh, ratio);
    const int bottom = firstPixelFrom(height - 1, pixelsHigh, ratio);
    for (int y = 0; y < pixelsHigh; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y < top || y >= bottom || left >= right) {
            fillRow(row, 0, pixelsWide, colours::kWhite);
            continue;
        }
        fillRow(row, 0, left, colours::kWhite);
        const int n = static_cast<int>(ui::roundHalfEven(designUnit(y, ratio) / 10.0));
        const std::uint64_t bound = dodgerBlueBound(n);
        if (bound > 0xFFFFFFFFu) {
            fillRow(row, left, right, colours::kDeepSkyBlue);
        } else {
            ditherRow(row, left, right, bound, random);
        }
        fillRow(row, right, pixelsWide, colours::kWhite);
    }
}

}  // namespace help
