#include <gtest/gtest.h>

#include <cmath>

#include "help/HelpBackground.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;
constexpr QRgb kDodgerBlue = 0xFF1E90FF;
constexpr int kWidth = 783;
constexpr int kHeight = 632;

// The background at a pixel ratio, with every pixel's design unit.
class Background {
  public:
    explicit Background(double ratio)
        : ratio_(ratio),
          image_(static_cast<int>(std::ceil(kWidth * ratio)),
                 static_cast<int>(std::ceil(kHeight * ratio)),
                 QImage::Format_ARGB32_Premultiplied) {
        image_.setDevicePixelRatio(ratio);
        image_.fill(0);
        help::DitherRandom random(12345);
        help::paintHelpBackground(image_, kWidth, kHeight, random);
    }

    int unit(int pixel) const { return static_cast<int>(std::floor((pixel + 0.5) / ratio_)); }

    // Calls visit(design x, design y, colour) for every pixel of the picture.
    template <typename Visit>
    void forEachPixel(Visit visit) const {
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                visit(unit(x), unit(y), image_.pixel(x, y));
            }
        }
    }

    // The share of dodger blue among the dots of the design rows from..to.
    double dodgerBlueShare(int from, int to) const {
        int dodger = 0;
        int all = 0;
        forEachPixel([&](int x, int y, QRgb colour) {
            if (y >= from && y <= to && x >= 2 && x <= kWidth - 2) {
                ++all;
                dodger += colour == kDodgerBlue ? 1 : 0;
            }
        });
        return static_cast<double>(dodger) / all;
    }

  private:
    double ratio_;
    QImage image_;
};

class HelpBackground : public ::testing::TestWithParam<double> {};

TEST_P(HelpBackground, AWhiteFrameSurroundsDotsOfTheTwoBlues) {
    const Background background(GetParam());
    int wrong = 0;
    background.forEachPixel([&](int x, int y, QRgb colour) {
        const bool frame = x < 2 || y < 2 || x > kWidth - 2 || y > kHeight - 2;
        const bool ok = frame     ? colour == kWhite
                        : y <= 25 ? colour == kDeepSkyBlue
                                  : colour == kDeepSkyBlue || colour == kDodgerBlue;
        if (!ok && ++wrong <= 5) {
            ADD_FAILURE() << "design " << x << "," << y << " is " << std::hex << colour;
        }
    });
    EXPECT_EQ(wrong, 0);
}

TEST_P(HelpBackground, DodgerBlueTakesAShareOfNMinusTwoInN) {
    const Background background(GetParam());
    // Rows 26..34 round to n = 3, rows 295..304 to n = 30.
    EXPECT_NEAR(background.dodgerBlueShare(26, 34), 1.0 / 3, 0.03);
    EXPECT_NEAR(background.dodgerBlueShare(295, 304), 28.0 / 30, 0.02);
}

INSTANTIATE_TEST_SUITE_P(AtCommonPixelRatios, HelpBackground, ::testing::Values(1.0, 1.4856, 3.0));

}  // namespace
