#include "ui/widgets/Style.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QStringList>
#include <QTextBoundaryFinder>

#include "ui/Fonts.h"

namespace widgets {

namespace {

// The high-contrast look: light buttons framed in black with black captions, a checked one dark
// with a white caption, and a focus frame four units wide, black on what is light and yellow
// on what is dark (a checked button, the black combo boxes); darker track bars. Rules of the same
// weight that come later win, so these follow the design's.
const char* const kHighContrastRules = R"(
QPushButton[formControl="true"] {
    border: 1px solid #000000;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E6E6E6);
}
QPushButton[formControl="true"]:hover {
    background: #DDEBFA;
}
QPushButton[formControl="true"]:pressed, QPushButton[formControl="true"]:checked {
    background: #0B4A8C;
}
QPushButton[formControl="true"][focusFrame="true"]:focus {
    border: 4px solid #000000;
}
QPushButton[formControl="true"][focusFrame="true"]:checked:focus {
    border: 4px solid #FFE066;
}
QPushButton[formControl="true"]:disabled {
    border: 1px dashed #595959;
    background: #F2F2F2;
}
QSlider[formControl="true"]::groove:horizontal, QSlider[formControl="true"]::groove:vertical {
    background: #595959;
}
QSlider[formControl="true"]::sub-page:horizontal {
    background: #0B4A8C;
}
QSlider[formControl="true"]::handle:horizontal, QSlider[formControl="true"]::handle:vertical {
    border: 1px solid #000000;
    background: #0B4A8C;
}
QSlider[formControl="true"]::handle:horizontal:hover {
    border: 1px solid #000000;
    background: #1F5FAF;
}
QSlider[formControl="true"][focusFrame="true"]:focus {
    border: 4px solid #000000;
}
QComboBox[formControl="true"] {
    border: 1px solid #000000;
}
QComboBox[formControl="true"][focusFrame="true"]:focus {
    border: 4px solid #FFE066;
}
)";

}  // namespace

QString windowStyleSheet(ui::Look look) {
    QString sheet = designStyleSheet();
    if (look == ui::Look::HighContrast) {
        sheet += QLatin1String(kHighContrastRules);
    }
    return sheet;
}

QString designStyleSheet() {
    return QStringLiteral(R"(
QPushButton[formControl="true"] {
    border: 1px solid #005A9E;
    border-radius: 4px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #008DE5, stop:1 #0067B3);
}
QPushButton[formControl="true"]:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1A9BEE, stop:1 #0A72C0);
}
QPushButton[formControl="true"]:pressed, QPushButton[formControl="true"]:checked {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #0067B3, stop:1 #008DE5);
}
QPushButton[formControl="true"][focusFrame="true"]:focus {
    border: 3px solid #FF8C00;
}
QPushButton[formControl="true"]:disabled {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #7FB8DE, stop:1 #6E9CBE);
}
QFrame[kind="panel"][formControl="true"] {
    background: #252525;
    border: 1px solid #484848;
}
QLabel[formControl="true"] {
    background: transparent;
}
QProgressBar[formControl="true"] {
    background: #393939;
    border: none;
}
QProgressBar[formControl="true"]::chunk {
    background: #21B24B;
}
QSlider[formControl="true"]::groove:horizontal {
    height: 4px;
    margin: 0 4px;
    border-radius: 2px;
    background: #9A9A9A;
}
QSlider[formControl="true"]::sub-page:horizontal {
    border-radius: 2px;
    background: #008DE5;
}
QSlider[formControl="true"]::handle:horizontal {
    width: 16px;
    margin: -3px 0;
    border-radius: 5px;
    border: 1px solid #005A9E;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #008DE5, stop:1 #0067B3);
}
QSlider[formControl="true"]::handle:horizontal:hover {
    border: 1px solid #FFFFFF;
}
QSlider[formControl="true"][focusFrame="true"]:focus {
    border: 2px solid #FF8C00;
    border-radius: 4px;
}
QSlider[formControl="true"]::groove:vertical {
    width: 4px;
    margin: 4px 0;
    border-radius: 2px;
    background: #9A9A9A;
}
QSlider[formControl="true"]::handle:vertical {
    height: 16px;
    margin: 0 -3px;
    border-radius: 5px;
    border: 1px solid #005A9E;
    background: #008DE5;
}
QSlider[formControl="true"]:disabled {
    background: transparent;
}
QSlider[formControl="true"]::handle:disabled {
    background: #8A8A8A;
    border: 1px solid #6A6A6A;
}
QComboBox[formControl="true"] {
    color: #FFFFFF;
    background: #000000;
    border: 1px solid #484848;
    border-radius: 3px;
    padding-left: 6px;
    combobox-popup: 0;
}
QComboBox[formControl="true"][focusFrame="true"]:focus {
    border: 2px solid #FF8C00;
}
QComboBox[formControl="true"]::drop-down {
    border: none;
    width: 22px;
}
QComboBox[formControl="true"] QAbstractItemView {
    color: #FFFFFF;
    background: #000000;
    border: 1px solid #484848;
    selection-color: #FFFFFF;
    selection-background-color: #0067B3;
    outline: none;
}
QComboBox[formControl="true"] QAbstractItemView QScrollBar:vertical {
    background: #202020;
    width: 14px;
    margin: 0;
}
QComboBox[formControl="true"] QAbstractItemView QScrollBar::handle:vertical {
    background: #9A9A9A;
    border-radius: 4px;
    min-height: 32px;
    margin: 2px;
}
QComboBox[formControl="true"] QAbstractItemView QScrollBar::add-line:vertical,
QComboBox[formControl="true"] QAbstractItemView QScrollBar::sub-line:vertical {
    height: 0;
}
)");
}

QFont textFont(const ui::TextControl& control) {
    return textFont(control, ui::palette());
}

QFont textFont(const ui::TextControl& control, const ui::Palette& palette) {
    QFont font = control.styleFamily()
                     ? ui::makeFont(control.fontSize())
                     : ui::makeFont(control.fontSize(), control.bold(), control.fontFamily());
    font.setUnderline(control.underlined());
    if (palette.look != ui::Look::HighContrast) {
        return font;
    }
    const auto* button = dynamic_cast<const ui::Button*>(&control);
    font.setUnderline(control.underlined() ||
                      (button != nullptr ? palette.underlinedCaption(button->selected())
                                         : palette.underlined(control.fontColor())));
    // Small text grows towards the size a pupil with low vision reads, while it fits its box.
    const double room =
        control.kind() == ui::ControlKind::Button ? control.width() - 6 : control.width();
    const double height = control.height();
    while (font.pixelSize() < control.largestGrownSize() && !control.wordWrap() &&
           !control.text().isEmpty()) {
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        const QFontMetricsF metrics(larger);
        if (metrics.horizontalAdvance(control.text()) > room || metrics.height() > height) {
            break;
        }
        font = larger;
    }
    return font;
}

double captionRoom(const ui::Button& button) {
    return button.width() - 6;
}

QFont buttonFont(const ui::Button& button) {
    QFont font = textFont(button);
    const double room = captionRoom(button);
    const int smallest = std::max(1, font.pixelSize() * 2 / 3);
    while (font.pixelSize() > smallest &&
           QFontMetricsF(font).horizontalAdvance(button.text()) > room) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

namespace {

QString cutLine(const QString& line, const QFontMetricsF& metrics, double width) {
    // A little slack, so that text measured to fit exactly is not cut by a rounding error.
    const double limit = width + 0.01;
    if (metrics.horizontalAdvance(line) <= limit) {
        return line;
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
    qsizetype fitting = 0;
    for (qsizetype end = graphemes.toNextBoundary(); end > 0; end = graphemes.toNextBoundary()) {
        if (metrics.horizontalAdvance(line.left(end)) > limit) {
            break;
        }
        fitting = end;
    }
    return line.left(fitting);
}

}  // namespace

QString cutToWidth(const QString& text, const QFont& font, double width) {
    const QFontMetricsF metrics(font);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = cutLine(line, metrics, width);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace widgets
