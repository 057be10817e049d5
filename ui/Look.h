#pragma once

#include <QtGui/qrgb.h>

namespace ui {

// The two looks of the window and its pictures: the design's own colours, and a high-contrast
// look whose texts reach 4.5:1 and whose marks differ by lightness and by a sign as well as by
// hue, so that pupils with low vision or poor red-green vision can read them.
enum class Look { Default, HighContrast };

// Every colour that the painters and the window's style use, by what it shows. Colours of the
// controls' own state (a label's text colour) stay the design's and are shown through
// `labelText`.
struct Palette {
    Look look;

    // The window's background gradient.
    QRgb windowTop;
    QRgb windowBottom;

    // The dark background of the pictures (answers column, statistics list, grid gaps, charts).
    QRgb pictureBackground;
    QRgb pictureText;
    QRgb pictureLine;  // the answers column's and statistics list's dividing line

    // The grid: cells, their numbers, the answer table's pressed cell.
    QRgb cell;
    QRgb cellText;
    QRgb operandText;  // the statistics table's operand column and header band
    QRgb pressedCell;
    QRgb pressedCellText;

    // Board cells by mark: selected by the pupil, found, and the fourth mark.
    QRgb selectedCell;
    QRgb selectedCellText;
    QRgb foundCell;
    QRgb foundCellText;
    QRgb otherMarkCell;

    // The statistics table's cells by error band: not answered, then rising error rates.
    QRgb bands[5];
    QRgb bandText[5];

    // Marks 1 to 5 in the answers column and the legend, and the cross of a wrong answer.
    QRgb marks[6];  // [0] unused
    QRgb wrongCross;
    QRgb legendBackground;
    QRgb legendText;

    // The game's charts.
    QRgb levelChartBackground;
    QRgb chartGridLine;
    QRgb chartScale;
    QRgb programme;
    QRgb pupil;

    // The help pages: dithered background of two colours, text, headings, the white margin.
    QRgb helpDitherA;
    QRgb helpDitherB;
    QRgb helpMargin;
    QRgb helpText;
    QRgb helpHeading;

    // The keyboard's focus frame; in the high-contrast look the grid's frame has a second, light
    // line over the dark gaps round its cell.
    QRgb focusFrame;
    QRgb focusFrameOnGap;

    // Signs beside colours: outlines of selected cells, digits in mark bars, underlined
    // emphasis. Only the high-contrast look draws them; the default keeps the design's pixels.
    bool signs;

    // How a label's design colour shows in this look, and whether it is underlined (where the
    // colour alone says "this one", as the chosen difficulty band and a lost level).
    QRgb labelText(QRgb designColour) const;
    bool underlined(QRgb designColour) const;
    bool underlinedCaption(bool selected) const;

    // A button caption's colour: selected (the design's black) or not (the style's light grey);
    // in the high-contrast look also white on a checked button, whose background is dark.
    QRgb buttonText(bool selected, bool pressed, QRgb designColour) const;
};

const Palette& palette(Look look);

// The look in use by the painters and the window. One program shows one look at a time.
Look currentLook();
void setCurrentLook(Look look);
inline const Palette& palette() {
    return palette(currentLook());
}

}  // namespace ui
