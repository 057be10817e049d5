#pragma once

#include <array>
#include <cstdint>

#include <QImage>

namespace help {

// The random dots of the help pages' background: eight xorshift generators side by side, whose
// steps the processor takes together, so that the dots of a whole picture for a dense screen take
// about a millisecond.
class DitherRandom {
  public:
    explicit DitherRandom(std::uint64_t seed = 0);

    // Stirs outside entropy (the clock) into the state, so that every page gets new dots.
    void mix(std::uint64_t entropy);

    // Writes count dots from a 16-bit draw each: deep sky blue where the draw is below bound,
    // dodger blue elsewhere.
    void dots(QRgb* row, int count, std::uint16_t bound);

  private:
    static constexpr int kLanes = 8;
    // Draws of 16 bits that one step of the generators gives.
    static constexpr int kDrawsPerStep = kLanes * 4;

    void step(QRgb* out, std::uint16_t bound);
    void reseed(std::uint64_t seed);

    std::array<std::uint64_t, kLanes> lanes_{};
};

// The dithered background of the help pages over a whole picture of width x height design units,
// one dot per pixel of the picture: a white frame, two units wide at the left and top and one at
// the right and bottom, around dots of deep sky blue and dodger blue. In the design row y, with
// n = y / 10 rounded, a dot is dodger blue when a draw of 0..n-1 exceeds 1, so the rows down to
// 25 are pure deep sky blue and dodger blue takes a share (n - 2) / n further down.
void paintHelpBackground(QImage& image, int width, int height, DitherRandom& random);

}  // namespace help
