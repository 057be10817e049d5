#include "ui/Look.h"

namespace ui {

namespace {

// The design's colours, exactly as the window has always shown them.
constexpr Palette kDefault{
    .look = Look::Default,
    .windowTop = 0xFFFFFFFF,
    .windowBottom = 0xFFC5BCBC,
    .pictureBackground = 0xFF696969,
    .pictureText = 0xFFFFFFFF,
    .pictureLine = 0xFF000000,
    .cell = 0xFFC0C0C0,
    .cellText = 0xFF000000,
    .operandText = 0xFF0000FF,
    .pressedCell = 0xFF696969,
    .pressedCellText = 0xFF000000,
    .selectedCell = 0xFF00BFFF,
    .selectedCellText = 0xFF000000,
    .foundCell = 0xFFFFFFFF,
    .foundCellText = 0xFF000000,
    .otherMarkCell = 0xFFFF0000,
    .bands = {0xFFC0C0C0, 0xFF00BFFF, 0xFF008000, 0xFFFFFF00, 0xFFFF0000},
    .bandText = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000},
    .marks = {0, 0xFFFF0000, 0xFFFF0000, 0xFFFFFF00, 0xFF7FFF00, 0xFF00BFFF},
    .wrongCross = 0xFFFF0000,
    .legendBackground = 0x00333333,
    .legendText = 0xFFFFFFFF,
    .levelChartBackground = 0xFF000000,
    .chartGridLine = 0xFF696969,
    .chartScale = 0xFFC0C0C0,
    .programme = 0xFFFF6347,
    .pupil = 0xFF00BFFF,
    .helpDitherA = 0xFF1E90FF,
    .helpDitherB = 0xFF00BFFF,
    .helpMargin = 0xFFFFFFFF,
    .helpText = 0xFFFFFFFF,
    .helpHeading = 0xFF0000FF,
    .focusFrame = 0xFFFF8C00,
    .focusFrameOnGap = 0xFFFF8C00,
    .signs = false,
};

// Okabe and Ito's colour-blind-safe hues, ordered by lightness where an order is meant (marks
// from bad to good, error bands from none to many), on near-black pictures and a near-white
// window.
constexpr Palette kHighContrast{
    .look = Look::HighContrast,
    .windowTop = 0xFFFFFFFF,
    .windowBottom = 0xFFEDEDED,
    .pictureBackground = 0xFF1A1A1A,
    .pictureText = 0xFFFFFFFF,
    .pictureLine = 0xFFBDBDBD,
    .cell = 0xFFF2F2F2,
    .cellText = 0xFF000000,
    .operandText = 0xFF0000B3,
    .pressedCell = 0xFF808080,
    .pressedCellText = 0xFF000000,
    .selectedCell = 0xFF0B4A8C,
    .selectedCellText = 0xFFFFFFFF,
    .foundCell = 0xFF8C4A00,
    .foundCellText = 0xFFFFFFFF,
    .otherMarkCell = 0xFF6A1B5A,
    .bands = {0xFFF2F2F2, 0xFF56B4E9, 0xFFF0E442, 0xFFD55E00, 0xFFB04A8F},
    .bandText = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF},
    .marks = {0, 0xFFD55E00, 0xFFD55E00, 0xFFF0E442, 0xFF009E73, 0xFF56B4E9},
    .wrongCross = 0xFFFF6E40,
    .legendBackground = 0xFF1A1A1A,
    .legendText = 0xFFFFFFFF,
    .levelChartBackground = 0xFF000000,
    .chartGridLine = 0xFF8C8C8C,
    .chartScale = 0xFFE0E0E0,
    .programme = 0xFFFF8A50,
    .pupil = 0xFF56B4E9,
    .helpDitherA = 0xFF00306B,
    .helpDitherB = 0xFF0A3A78,
    .helpMargin = 0xFFFFFFFF,
    .helpText = 0xFFFFFFFF,
    .helpHeading = 0xFFFFE066,
    .focusFrame = 0xFF000000,
    .focusFrameOnGap = 0xFFFFE066,
    .signs = true,
};

// The design's label colours (black, blue, dodger blue, crimson, brown, red) in the high-contrast
// look: darker, so that each reaches 4.5:1 on the whole background gradient.
QRgb darkerLabelColour(QRgb design) {
    switch (design & 0xFFFFFF) {
        case 0x0000FF:
            return 0xFF0000B3;
        case 0x1E90FF:
            return 0xFF00509E;
        case 0xDC143C:
            return 0xFFA3001F;
        case 0xA52A2A:
            return 0xFF7A2A00;
        case 0xFF0000:
            return 0xFFB00000;
        default:
            return 0xFF000000;
    }
}

Look gLook = Look::Default;

}  // namespace

QRgb Palette::labelText(QRgb designColour) const {
    return look == Look::Default ? designColour : darkerLabelColour(designColour);
}

bool Palette::underlined(QRgb designColour) const {
    return signs && (designColour & 0xFFFFFF) == 0xFF0000;
}

bool Palette::underlinedCaption(bool selected) const {
    return signs && selected;
}

QRgb Palette::buttonText(bool selected, bool pressed, QRgb designColour) const {
    if (look == Look::Default) {
        return selected ? designColour : 0xFFE0E0E0;
    }
    // High contrast: light buttons with black captions, a selected one's dark blue and
    // underlined; a checked button is dark with a white caption.
    if (pressed) {
        return 0xFFFFFFFF;
    }
    return selected ? 0xFF0000B3 : 0xFF000000;
}

const Palette& palette(Look look) {
    return look == Look::HighContrast ? kHighContrast : kDefault;
}

Look currentLook() {
    return gLook;
}

void setCurrentLook(Look look) {
    gLook = look;
}

}  // namespace ui
