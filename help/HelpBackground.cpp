#include "help/HelpBackground.h"

#include <cmath>
#include <cstring>

#include "ui/Checked.h"
#include "ui/Look.h"

namespace help {

namespace {

using U64x2 = std::uint64_t __attribute__((vector_size(16)));
using U32x4 = std::uint32_t __attribute__((vector_size(16)));
using U16x8 = std::uint16_t __attribute__((vector_size(16)));

std::uint64_t splitMix(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// Eight dots from eight 16-bit draws.
void eightDots(QRgb* out, U16x8 draws, U16x8 bound, U32x4 base, std::uint32_t difference) {
    const auto below = draws < bound;
    const auto low =
        reinterpret_cast<U32x4>(__builtin_shufflevector(below, below, 0, 0, 1, 1, 2, 2, 3, 3));
    const auto high =
        reinterpret_cast<U32x4>(__builtin_shufflevector(below, below, 4, 4, 5, 5, 6, 6, 7, 7));
    const U32x4 first = base ^ (low & difference);
    const U32x4 second = base ^ (high & difference);
    std::memcpy(out, &first, sizeof first);
    std::memcpy(out + 4, &second, sizeof second);
}

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

void fillRow(QRgb* row, int from, int to, QRgb colour) {
    for (int x = from; x < to; ++x) {
        row[x] = colour;
    }
}

}  // namespace

DitherRandom::DitherRandom(std::uint64_t seed) {
    reseed(seed);
}

void DitherRandom::reseed(std::uint64_t seed) {
    for (std::uint64_t& lane : lanes_) {
        // A generator whose state is 0 would give only zeros.
        lane = splitMix(seed) | 1;
    }
}

void DitherRandom::mix(std::uint64_t entropy) {
    reseed(lanes_[0] ^ entropy);
}

void DitherRandom::step(QRgb* out, std::uint16_t bound) {
    const U16x8 bounds = U16x8{} + bound;
    // A dot below the bound takes the second colour, any other the first.
    const ui::Palette& palette = ui::palette();
    const U32x4 base = U32x4{} + palette.helpDitherA;
    const std::uint32_t difference = palette.helpDitherA ^ palette.helpDitherB;
    for (int pair = 0; pair < kLanes / 2; ++pair) {
        U64x2 state;
        std::memcpy(&state, &lanes_[2 * pair], sizeof state);
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(&lanes_[2 * pair], &state, sizeof state);
        eightDots(out + 8 * pair, reinterpret_cast<U16x8>(state), bounds, base, difference);
    }
}

void DitherRandom::dots(QRgb* row, int count, std::uint16_t bound) {
    int x = 0;
    for (; x + kDrawsPerStep <= count; x += kDrawsPerStep) {
        step(row + x, bound);
    }
    if (x < count) {
        QRgb rest[kDrawsPerStep];
        step(rest, bound);
        std::memcpy(row + x, rest, sizeof(QRgb) * static_cast<std::size_t>(count - x));
    }
}

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
            fillRow(row, 0, pixelsWide, ui::palette().helpMargin);
            continue;
        }
        fillRow(row, 0, left, ui::palette().helpMargin);
        // A draw r = u * n / 2^16 of 0..n-1 from 16 random bits u exceeds 1 exactly when u
        // reaches 2^17 / n rounded up; for n up to 2 no draw does.
        const auto n = static_cast<std::uint32_t>(ui::roundHalfEven(designUnit(y, ratio) / 10.0));
        if (n <= 2) {
            fillRow(row, left, right, ui::palette().helpDitherB);
        } else {
            const auto bound = static_cast<std::uint16_t>(((1u << 17) + n - 1) / n);
            random.dots(row + left, right - left, bound);
        }
        fillRow(row, right, pixelsWide, ui::palette().helpMargin);
    }
}

}  // namespace help
