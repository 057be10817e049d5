#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Contrast.h"
#include "ui/Look.h"

namespace {

// Colour science for the checks: WCAG 2.1 contrast, CIEDE2000 differences and Machado, Oliveira
// and Fernandes's (2009) simulation of protanopia and deuteranopia at full severity.
using Linear = std::array<double, 3>;

double toLinear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Linear linear(QRgb colour) {
    return {toLinear(qRed(colour)), toLinear(qGreen(colour)), toLinear(qBlue(colour))};
}

using Matrix = std::array<std::array<double, 3>, 3>;
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kNormal = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Linear seenWith(const Matrix& m, const Linear& c) {
    Linear out{};
    for (int i = 0; i < 3; ++i) {
        out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
    }
    return out;
}

struct Lab {
    double L, a, b;
};

Lab lab(const Linear& c) {
    const double x = (0.4124564 * c[0] + 0.3575761 * c[1] + 0.1804375 * c[2]) / 0.95047;
    const double y = 0.2126729 * c[0] + 0.7151522 * c[1] + 0.0721750 * c[2];
    const double z = (0.0193339 * c[0] + 0.1191920 * c[1] + 0.9503041 * c[2]) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

double ciede2000(const Lab& p, const Lab& q) {
    const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
    const double cp1 = std::hypot(a1, p.b), cp2 = std::hypot(a2, q.b);
    const auto hue = [](double b, double a) {
        const double h = std::atan2(b, a) * 180 / std::numbers::pi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = h2 - h1;
        dh += dh > 180 ? -360 : dh < -180 ? 360 : 0;
    }
    const double dL = q.L - p.L, dC = cp2 - cp1;
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));
    const double lMean = (p.L + q.L) / 2, cpMean = (cp1 + cp2) / 2;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0) {
        hMean = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
                : h1 + h2 < 360          ? (h1 + h2 + 360) / 2
                                         : (h1 + h2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(radians(hMean - 30)) +
                     0.24 * std::cos(radians(2 * hMean)) + 0.32 * std::cos(radians(3 * hMean + 6)) -
                     0.20 * std::cos(radians(4 * hMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cp7 = std::pow(cpMean, 7);
    const double rc = 2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7)));
    const double sl = 1 + 0.015 * std::pow(lMean - 50, 2) / std::sqrt(20 + std::pow(lMean - 50, 2));
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(radians(2 * dTheta)) * rc;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

double smallestDifference(const std::vector<QRgb>& colours, const Matrix& vision) {
    double smallest = 1e9;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            smallest = std::min(smallest, ciede2000(lab(seenWith(vision, linear(colours[i]))),
                                                    lab(seenWith(vision, linear(colours[j])))));
        }
    }
    return smallest;
}

using testsupport::contrast;

}  // namespace

TEST(LookTest, CiedeAndContrastAgreeWithPublishedValues) {
    // Sharma, Wu and Dalal's test pair 1 (Lab given) and WCAG's extremes.
    EXPECT_NEAR(ciede2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
    EXPECT_NEAR(ciede2000({50, -1.3802, -84.2814}, {50, 0, -82.7485}), 1.0000, 1e-4);
    EXPECT_NEAR(contrast(0xFF000000, 0xFFFFFFFF), 21, 1e-9);
}

// The high-contrast look's categories stay apart for pupils who see red and green poorly; the
// design's own statistics colours are the ones that did not (its green and red under
// protanopia).
TEST(LookTest, CategoryColoursStayApartUnderColourBlindness) {
    const ui::Palette& hc = ui::palette(ui::Look::HighContrast);
    const std::vector<QRgb> bands(std::begin(hc.bands), std::end(hc.bands));
    const std::vector<QRgb> marks = {hc.marks[2], hc.marks[3], hc.marks[4], hc.marks[5]};
    const std::vector<QRgb> board = {hc.cell, hc.selectedCell, hc.foundCell};
    const std::vector<QRgb> chart = {hc.programme, hc.pupil, hc.pictureBackground};
    // The chosen difficulty's word (the design's red) among the others (dodger blue), and the
    // answer table's pressed cell among the others.
    const std::vector<QRgb> difficulty = {hc.labelText(0xFFFF0000), hc.labelText(0xFF1E90FF)};
    const std::vector<QRgb> answerTable = {hc.cell, hc.pressedCell};
    const struct {
        const char* what;
        const std::vector<QRgb>& colours;
    } sets[] = {{"error bands", bands},
                {"marks", marks},
                {"board cells", board},
                {"chart", chart},
                {"difficulty's words", difficulty},
                {"answer table", answerTable}};
    for (const Matrix* vision : {&kNormal, &kProtanopia, &kDeuteranopia}) {
        for (const auto& set : sets) {
            EXPECT_GE(smallestDifference(set.colours, *vision), 15)
                << set.what
                << (vision == &kNormal       ? ""
                    : vision == &kProtanopia ? " under protanopia"
                                             : " under deuteranopia");
        }
    }
    const ui::Palette& design = ui::palette(ui::Look::Default);
    const std::vector<QRgb> designBands(std::begin(design.bands), std::end(design.bands));
    EXPECT_LT(smallestDifference(designBands, kProtanopia), 15);
}

// A chosen board cell and a found one differ by more than hue. In the default look the found
// cell is far lighter; in the high-contrast look both are dark, and the chosen one carries a
// ring (LookPicturesTest).
TEST(LookTest, InTheDefaultLookChosenAndFoundCellsDifferInLightness) {
    const ui::Palette& d = ui::palette(ui::Look::Default);
    for (const Matrix* vision : {&kNormal, &kProtanopia, &kDeuteranopia}) {
        const double chosen = lab(seenWith(*vision, linear(d.selectedCell))).L;
        const double found = lab(seenWith(*vision, linear(d.foundCell))).L;
        EXPECT_GE(std::abs(found - chosen), 20);
    }
}

// Texts on the pictures and marks on their backgrounds, as the painters combine them.
TEST(LookTest, HighContrastColoursReachTheirContrast) {
    const ui::Palette& hc = ui::palette(ui::Look::HighContrast);
    struct Pair {
        const char* what;
        QRgb foreground;
        QRgb background;
        double needed;
    };
    std::vector<Pair> pairs = {
        {"answers on the column", hc.pictureText, hc.pictureBackground, 4.5},
        {"the wrong answer's cross", hc.wrongCross, hc.pictureBackground, 3},
        {"a cell's number", hc.cellText, hc.cell, 4.5},
        {"an operand", hc.operandText, hc.cell, 4.5},
        {"a pressed cell's number", hc.pressedCellText, hc.pressedCell, 4.5},
        {"a pressed cell", hc.pressedCell, hc.cell, 3},
        {"a selected cell's number", hc.selectedCellText, hc.selectedCell, 4.5},
        {"a selected cell", hc.selectedCell, hc.cell, 3},
        {"a found cell's number", hc.foundCellText, hc.foundCell, 4.5},
        {"a found cell", hc.foundCell, hc.cell, 3},
        {"the legend", hc.legendText, hc.legendBackground, 4.5},
        {"the programme's bar", hc.programme, hc.pictureBackground, 3},
        {"the pupil's bar", hc.pupil, hc.pictureBackground, 3},
        {"the chart's scale", hc.chartScale, hc.pictureBackground, 4.5},
        {"the level chart's scale", hc.chartScale, hc.levelChartBackground, 4.5},
        {"help text", hc.helpText, hc.helpDitherA, 4.5},
        {"help text", hc.helpText, hc.helpDitherB, 4.5},
        {"help headings", hc.helpHeading, hc.helpDitherA, 4.5},
        {"help headings", hc.helpHeading, hc.helpDitherB, 4.5},
        {"the focus frame on the window", hc.focusFrame, hc.windowBottom, 3},
        {"the focus frame on a cell", hc.focusFrame, hc.cell, 3},
    };
    for (int band = 0; band < 5; ++band) {
        pairs.push_back({"a statistics cell's number", hc.bandText[band], hc.bands[band], 4.5});
    }
    for (int mark = 1; mark <= 5; ++mark) {
        pairs.push_back({"a mark's bar", hc.marks[mark], hc.pictureBackground, 3});
    }
    for (QRgb design :
         {0xFF000000u, 0xFF0000FFu, 0xFF1E90FFu, 0xFFDC143Cu, 0xFFA52A2Au, 0xFFFF0000u}) {
        for (QRgb window : {hc.windowTop, hc.windowBottom}) {
            pairs.push_back({"a label", hc.labelText(design), window, 4.5});
        }
    }
    for (const Pair& p : pairs) {
        EXPECT_GE(contrast(p.foreground, p.background), p.needed)
            << p.what << ": " << std::hex << p.foreground << " on " << p.background;
    }
}

TEST(LookTest, DefaultLookKeepsTheDesignsColours) {
    const ui::Palette& d = ui::palette(ui::Look::Default);
    for (QRgb design : {0xFF000000u, 0xFF0000FFu, 0xFF1E90FFu, 0xFFDC143Cu, 0xFFFF0000u}) {
        EXPECT_EQ(d.labelText(design), design);
        EXPECT_FALSE(d.underlined(design));
    }
    EXPECT_EQ(d.buttonText(true, true, 0xFF000000), 0xFF000000u);
    EXPECT_EQ(d.buttonText(false, true, 0xFF000000), 0xFFE0E0E0u);
    EXPECT_FALSE(d.signs);
}
