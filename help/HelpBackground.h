#pragma once

#include <cstdint>

#include <QImage>

namespace help {

// A small, fast generator for the background's dots (splitmix64): one call gives the random bits
// of two dots.
class DitherRandom {
  public:
    explicit DitherRandom(std::uint64_t seed = 0) : state_(seed) {}

    // Stirs outside entropy (the clock) into the state, so that every page gets new dots.
    void mix(std::uint64_t entropy) { state_ ^= entropy; }

    std::uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_;
};

// The dithered background of the help pages over a whole picture of width x height design units,
// one dot per pixel of the picture: a white frame, two units wide at the left and top and one at
// the right and bottom, around dots of deep sky blue and dodger blue. In the design row y, with
// n = y / 10 rounded, a dot is dodger blue when a draw of 0..n-1 exceeds 1, so the rows down to
// 25 are pure deep sky blue and dodger blue takes a share (n - 2) / n further down.
void paintHelpBackground(QImage& image, int width, int height, DitherRandom& random);

}  // namespace help
