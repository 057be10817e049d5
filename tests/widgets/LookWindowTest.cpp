// The window as it is shown, in both looks: every screen brought up in the real window, and for a
// table of its texts and marks the pixels of the text (or mark) and of what lies round it. The
// high-contrast look owes 4.5:1 to text, 3:1 to large text (24 px, or 18.7 px bold), to marks
// that mean something and to the keyboard's focus frame; the default look shows the design's
// colours.
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "app/KeyboardRoles.h"
#include "tests/support/Contrast.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"
#include "ui/Look.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"
#include "ui/widgets/NameDialog.h"

namespace {

using widgets::FormView;
using widgets::GridCell;
using widgets::KeyboardNavigation;

using testsupport::contrast;

QString hex(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

// A background the design gives: one colour, or a vertical gradient between two.
struct Background {
    QRgb from;
    QRgb to;
    bool holds(QRgb c) const {
        const auto within = [](int v, int a, int b) {
            return v >= std::min(a, b) - 1 && v <= std::max(a, b) + 1;
        };
        return within(qRed(c), qRed(from), qRed(to)) &&
               within(qGreen(c), qGreen(from), qGreen(to)) &&
               within(qBlue(c), qBlue(from), qBlue(to));
    }
};

constexpr Background flat(QRgb c) {
    return {c, c};
}

// The design's backgrounds.
constexpr Background kWindow{0xFFFFFFFF, 0xFFC5BCBC};
constexpr Background kButton{0xFF008DE5, 0xFF0067B3};
constexpr Background kPicture = flat(0xFF696969);
constexpr Background kHelp{0xFF1E90FF, 0xFF00BFFF};  // the help pages' dither

enum class Kind { Text, Mark };

// One thing a screen shows: where it lies in the window (a rectangle whose edge runs through
// its background only), how large its text is, and the design's colours for it.
struct Element {
    const char* what;
    QRect rect;
    Kind kind;
    int size;  // design pixels; 0 for a mark
    bool bold;
    QRgb designForeground;
    Background designBackground;
};

double needed(const Element& e) {
    if (e.kind == Kind::Mark) {
        return 3;
    }
    const bool large = e.size >= 24 || (e.bold && e.size * 3 >= 56);
    return large ? 3 : 4.5;
}

// What a rectangle of the window shows: the colours along its edge (the background, more than a
// twentieth of the edge each) and the pixel inside that stands out most from the commonest of
// them (a text's or mark's core).
struct Sample {
    std::vector<QRgb> backgrounds;
    QRgb foreground = 0;
    std::map<QRgb, int> inside;
    double worstContrast() const {
        double worst = 1e9;
        for (QRgb b : backgrounds) {
            worst = std::min(worst, contrast(foreground, b));
        }
        return worst;
    }
};

Sample sample(const QImage& image, QRect rect) {
    Sample s;
    std::map<QRgb, int> edge;
    int edgePixels = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000;
            ++s.inside[c];
            if (y == rect.top() || y == rect.bottom() || x == rect.left() || x == rect.right()) {
                ++edge[c];
                ++edgePixels;
            }
        }
    }
    QRgb commonest = 0;
    int most = 0;
    for (const auto& [c, n] : edge) {
        if (n > most) {
            most = n;
            commonest = c;
        }
        if (n * 20 > edgePixels) {
            s.backgrounds.push_back(c);
        }
    }
    double best = 0;
    for (const auto& [c, n] : s.inside) {
        if (contrast(c, commonest) > best) {
            best = contrast(c, commonest);
            s.foreground = c;
        }
    }
    return s;
}

// Checks one element of a window picture in the look in use; returns what is wrong, if anything.
QString check(const QImage& shot, const Element& e) {
    const Sample s = sample(shot, e.rect);
    if (s.backgrounds.empty()) {
        return QStringLiteral("%1: no background along the edge").arg(e.what);
    }
    if (ui::currentLook() == ui::Look::HighContrast) {
        if (s.worstContrast() < needed(e)) {
            return QStringLiteral("%1: %2 on %3 reaches %4, needs %5")
                .arg(e.what, hex(s.foreground), hex(s.backgrounds.front()))
                .arg(s.worstContrast(), 0, 'f', 2)
                .arg(needed(e));
        }
        return {};
    }
    QString wrong;
    // Small text may cover no pixel wholly (and the marks' key is scaled a little): its most
    // distinct pixel then comes near the colour.
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
               std::abs(qBlue(a) - qBlue(b)) <= 8;
    };
    const bool shown =
        s.inside.contains(e.designForeground) ||
        (e.kind == Kind::Text && e.size < 16 && near(s.foreground, e.designForeground));
    if (!shown) {
        wrong += QStringLiteral("%1: no %2 (the most distinct is %3); ")
                     .arg(e.what, hex(e.designForeground), hex(s.foreground));
    }
    for (QRgb b : s.backgrounds) {
        if (!e.designBackground.holds(b)) {
            wrong +=
                QStringLiteral("%1: background %2 is not the design's %3..%4; ")
                    .arg(e.what, hex(b), hex(e.designBackground.from), hex(e.designBackground.to));
        }
    }
    return wrong;
}

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kCaption = 0xFFE0E0E0;  // an unselected button's caption
constexpr QRgb kDodgerBlue = 0xFF1E90FF;
constexpr QRgb kCrimson = 0xFFDC143C;

// A button's caption: inside its border, round the text.
Element caption(const char* what, QRect button, int size, bool bold, QRgb design,
                Background background = kButton) {
    return {what, button.adjusted(5, 5, -5, -5), Kind::Text, size, bold, design, background};
}

class LookWindow : public FormFixture, public ::testing::WithParamInterface<ui::Look> {
  protected:
    LookWindow() {
        if (GetParam() == ui::Look::HighContrast) {
            form().forceHighContrast();
        }
        start();
        view = std::make_unique<FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); });
        keys = new KeyboardNavigation(*view, keyboardRoles(form()));
        view->resize(1280, 727);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        EXPECT_EQ(ui::currentLook(), GetParam());
    }
    ~LookWindow() override { ui::setCurrentLook(ui::Look::Default); }

    void run(const std::function<void()>& handler) {
        form().dispatch(handler);
        view->syncFromControls();
        QApplication::processEvents();
    }

    void key(Qt::Key k) {
        if (!view->isActiveWindow()) {
            view->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        }
        QTest::keyClick(view->windowHandle(), k);
        QApplication::processEvents();
    }

    QImage shot() {
        QApplication::processEvents();
        return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Every element of a screen; the names and findings of those that fail.
    QStringList failures(const char* screen, const std::vector<Element>& elements) {
        const QImage picture = shot();
        QStringList found;
        for (const Element& e : elements) {
            const QString wrong = check(picture, e);
            if (!wrong.isEmpty()) {
                found << QStringLiteral("%1, %2").arg(QLatin1String(screen), wrong);
            }
        }
        return found;
    }

    // The window's rectangle of a control's widget.
    QRect shownRect(const ui::Control& control) {
        const QRectF design = view->widgetFor(control)->graphicsProxyWidget()->sceneBoundingRect();
        return QRectF(view->mapFromDesign(design.topLeft()),
                      view->mapFromDesign(design.bottomRight()))
            .toAlignedRect();
    }

    // The focus frame where it changes the window: the pixels that differ between the window
    // with and without it, within `area`, the framed thing's rectangle widened by the frame. In
    // the high-contrast look the frame is seen all the way round: along nine tenths of each side
    // at least, across a band of 10 pixels along the edge of `area`, some pixel of it stands 3:1
    // from what it covers (a frame of a dark and a light line may stand out by either). In the
    // default look the frame is the design's orange.
    QString frameFailure(const char* what, const QImage& without, const QImage& with, QRect area) {
        area &= without.rect();
        const auto stands = [&](int x, int y) {
            return contrast(without.pixel(x, y), with.pixel(x, y)) >= 3;
        };
        int changed = 0, orange = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                changed += without.pixel(x, y) != with.pixel(x, y) ? 1 : 0;
                orange += with.pixel(x, y) == 0xFFFF8C00 && without.pixel(x, y) != 0xFFFF8C00;
            }
        }
        if (changed < 20) {
            return QStringLiteral("%1: no focus frame is seen").arg(QLatin1String(what));
        }
        if (ui::currentLook() == ui::Look::Default) {
            return orange >= 20 ? QString()
                                : QStringLiteral("%1: the frame is not the design's orange")
                                      .arg(QLatin1String(what));
        }
        constexpr int kBand = 10, kCorner = 8;
        QStringList weakSides;
        const auto side = [&](const char* name, bool across, bool far) {
            // `across`: the side runs left to right (top, bottom); `far`: bottom or right.
            const int from = across ? area.left() + kCorner : area.top() + kCorner;
            const int to = across ? area.right() - kCorner : area.bottom() - kCorner;
            int seen = 0;
            for (int along = from; along <= to; ++along) {
                bool found = false;
                for (int depth = 0; depth < kBand && !found; ++depth) {
                    const int edge = across ? (far ? area.bottom() - depth : area.top() + depth)
                                            : (far ? area.right() - depth : area.left() + depth);
                    found = across ? stands(along, edge) : stands(edge, along);
                }
                seen += found ? 1 : 0;
            }
            if (seen * 10 < (to - from + 1) * 9) {
                weakSides << QStringLiteral("%1 %2 of %3")
                                 .arg(QLatin1String(name))
                                 .arg(seen)
                                 .arg(to - from + 1);
            }
        };
        side("top", true, false);
        side("bottom", true, true);
        side("left", false, false);
        side("right", false, true);
        if (!weakSides.isEmpty()) {
            return QStringLiteral("%1: the frame stands out 3:1 only along %2")
                .arg(QLatin1String(what), weakSides.join(QStringLiteral(", ")));
        }
        return {};
    }

    // Frames the control's widget from the keyboard and checks the frame against the widget
    // unfocused.
    QString controlFrameFailure(const char* what, const ui::Control& control) {
        QWidget* widget = view->widgetFor(control);
        key(Qt::Key_Tab);  // frames are shown from a key on
        if (keys->focusedWidget() == widget) {
            key(Qt::Key_Tab);
        }
        const QImage without = shot();
        widget->setFocus(Qt::TabFocusReason);
        const QImage with = shot();
        return frameFailure(what, without, with, shownRect(control).adjusted(-4, -4, 4, 4));
    }

    // Walks the grid's focus cell to a cell with the arrows.
    void moveFocusCell(GridCell to) {
        for (int i = 0; i < 20 && keys->focusCell() != to; ++i) {
            const GridCell at = keys->focusCell();
            key(at.column < to.column   ? Qt::Key_Right
                : at.column > to.column ? Qt::Key_Left
                : at.row < to.row       ? Qt::Key_Down
                                        : Qt::Key_Up);
        }
        ASSERT_EQ(keys->focusCell(), to);
    }

    // The grid's frame on a cell, against the cell with the frame on its neighbour.
    QString cellFrameFailure(const char* what, GridCell cell) {
        const QRectF frame = keyboardRoles(form()).grid.frame(cell.column, cell.row);
        const QRect area = frame.translated(416, 87).toAlignedRect().adjusted(-4, -4, 4, 4);
        view->widgetFor(form().Panel1Viewer)->setFocus(Qt::TabFocusReason);
        moveFocusCell(cell);
        const QImage with = shot();
        moveFocusCell({cell.column <= 5 ? cell.column + 3 : cell.column - 3, cell.row});
        const QImage without = shot();
        return frameFailure(what, without, with, area);
    }

    // The chosen difficulty's word is told by a line beneath it as well as by its colour. The
    // line lies in the free room under the word, and nothing else changes for it.
    QString chosenDifficultyFailure() {
        TForm3& f = form();
        ui::Label* chosen = nullptr;
        for (ui::Label* word : {&f.Label18, &f.Label19, &f.Label20}) {
            if (word->underlined()) {
                if (chosen != nullptr) {
                    return QStringLiteral("more than one difficulty is underlined");
                }
                chosen = word;
            }
        }
        if (chosen == nullptr) {
            return QStringLiteral("the chosen difficulty is not underlined");
        }
        if (ui::currentLook() == ui::Look::HighContrast) {
            return {};  // underlined there with every red label anyway
        }
        const QImage marked = shot();
        run([&] { chosen->setUnderlined(false); });
        const QImage plain = shot();
        run([&] { chosen->setUnderlined(true); });
        QRect changed;
        for (int y = 0; y < marked.height(); ++y) {
            for (int x = 0; x < marked.width(); ++x) {
                if (marked.pixel(x, y) != plain.pixel(x, y)) {
                    changed |= QRect(x, y, 1, 1);
                }
            }
        }
        const QRect box = shownRect(*chosen);
        const int wordBottom = box.center().y() + 6;  // the words are 14 high, centred
        if (changed.isEmpty() || !box.contains(changed) || changed.height() > 3 ||
            changed.top() < wordBottom) {
            return QStringLiteral(
                       "the chosen difficulty's line changes %1,%2 %3x%4 of its box "
                       "%5,%6 %7x%8")
                .arg(changed.x())
                .arg(changed.y())
                .arg(changed.width())
                .arg(changed.height())
                .arg(box.x())
                .arg(box.y())
                .arg(box.width())
                .arg(box.height());
        }
        return {};
    }

    std::unique_ptr<FormView> view;
    KeyboardNavigation* keys = nullptr;
};

QRect rectOf(int x, int y, int w, int h) {
    return {x, y, w, h};
}

TEST_P(LookWindow, EveryScreensTextsMarksAndFramesShowTheLooksColours) {
    TForm3& f = form();
    QStringList found;

    // The start screen: operation, number and mode buttons, the language group, the legend.
    found << failures(
        "start", {
                     caption("the chosen operation", rectOf(31, 8, 180, 56), 24, false, kBlack),
                     caption("the other operation", rectOf(31, 72, 180, 56), 24, false, kCaption),
                     caption("Start", rectOf(224, 8, 180, 56), 26, true, kCaption),
                     caption("Help", rectOf(848, 8, 180, 56), 26, false, kCaption),
                     caption("the chosen number", rectOf(32, 186, 89, 50), 26, false, kBlack),
                     caption("another number", rectOf(32, 236, 89, 50), 26, false, kCaption),
                     caption("Error correction", rectOf(32, 595, 180, 56), 16, false, kCaption),
                     caption("Statistics", rectOf(32, 661, 180, 56), 24, false, kCaption),
                     caption("Game", rectOf(224, 661, 180, 57), 26, true, kCaption),
                     caption("the close button", rectOf(1202, 662, 75, 57), 20, true, kCaption),
                     {"the operation's name", rectOf(212, 66, 200, 32), Kind::Text, 26, true,
                      kDodgerBlue, kWindow},
                     {"the chosen number's label", rectOf(209, 101, 60, 30), Kind::Text, 24, true,
                      kBlack, kWindow},
                     {"the language's caption", rectOf(1038, 2, 110, 27), Kind::Text, 18, true,
                      kBlack, kWindow},
                     {"the language box", rectOf(1046, 34, 120, 24), Kind::Text, 14, false, kWhite,
                      flat(kBlack)},
                     {"the title page's heading", rectOf(690, 95, 230, 55), Kind::Text, 40, false,
                      kWhite, kHelp},
                     {"the title page's numbers", rectOf(596, 270, 120, 32), Kind::Text, 26, false,
                      0xFF0000FF, kHelp},
                     {"the marks' key", rectOf(338, 607, 50, 30), Kind::Text, 14, false, kWhite,
                      flat(0xFF252525)},
                 });
    if (GetParam() == ui::Look::HighContrast) {
        // The look's own switch, pressed in this look.
        found << failures("start", {caption("the pressed look switch", rectOf(652, 0, 190, 28), 16,
                                            true, kCaption)});
    }
    // A button under the mouse, and the operation's button pressed again, which keeps it down.
    QTest::mouseMove(view->windowHandle(), QPoint(121, 100));
    found << failures("start", {caption("a button under the mouse", rectOf(31, 72, 180, 56), 24,
                                        false, kCaption, {0xFF1A9BEE, 0xFF0A72C0})});
    QTest::mouseMove(view->windowHandle(), QPoint(600, 10));
    run([&] { f.Button10Click(); });
    found << failures("start",
                      {caption("a pressed button", rectOf(31, 8, 180, 56), 24, false, kBlack)});
    found << controlFrameFailure("the focus on a pressed button", f.Button10);
    run([&] { f.Button10Click(); });
    found << controlFrameFailure("the focus on an unselected button", f.Button11);
    found << controlFrameFailure("the focus on a selected button", f.Button10);
    found << controlFrameFailure("the focus on the language box", f.ComboBox1);
    found << controlFrameFailure("the focus on the look switch", f.LookButton);

    // A run with wrong answers: the exercise, the settings, the answers column, the table.
    run([&] { f.Button12Click(); });
    for (int i = 0; i < 3; ++i) {
        run([&] { press(f, wrongAnswer(f)); });
    }
    found << failures(
        "run",
        {
            {"the exercise", rectOf(640, 0, 280, 84), Kind::Text, 72, false, kBlack, kWindow},
            {"the count's caption", rectOf(1020, 31, 190, 20), Kind::Text, 18, false, kBlack,
             kWindow},
            {"the count", rectOf(960, 10, 50, 38), Kind::Text, 32, false, kBlack, kWindow},
            caption("Stop", rectOf(224, 8, 180, 56), 26, true, kCaption),
            {"an answer in the column", rectOf(250, 142, 112, 38), Kind::Text, 26, false, kWhite,
             kPicture},
            {"the cross of a wrong answer", rectOf(370, 142, 28, 38), Kind::Mark, 0, false,
             0xFFFF0000, kPicture},
            {"a number in the table", rectOf(430, 92, 50, 62), Kind::Text, 40, false, kBlack,
             flat(0xFFC0C0C0)},
        });
    found << cellFrameFailure("the focus on the answer table", {5, 5});
    // The time runs out.
    while (f.Button12.tag() == 1) {
        run([&] { f.Timer1Timer(); });
    }
    found << failures("time up", {{"the notice that the time is up", rectOf(418, 14, 340, 45),
                                   Kind::Text, 26, true, kDodgerBlue, kWindow}});

    // Error correction: the errors' count, then a wrong answer's sign.
    run([&] { f.Button13Click(); });
    found << failures("error correction", {{"the errors' count", rectOf(600, 46, 380, 38),
                                            Kind::Text, 28, true, kBlack, kWindow}});
    run([&] { f.Button12Click(); });
    run([&] { press(f, wrongAnswer(f)); });
    found << failures("error correction", {{"the sign of a wrong answer", rectOf(906, 3, 61, 82),
                                            Kind::Text, 72, false, kCrimson, kWindow}});
    run([&] { f.Button12Click(); });
    run([&] { f.Button13Click(); });

    // Statistics, its key and its reset prompt.
    run([&] { f.Button14Click(); });
    found << failures(
        "statistics",
        {
            {"the key's words", rectOf(1118, 5, 44, 20), Kind::Text, 14, false, kWhite, kPicture},
            {"the title", rectOf(560, 2, 460, 45), Kind::Text, 28, true, kBlack, kWindow},
            {"the list's heading", rectOf(125, 140, 115, 60), Kind::Text, 20, false, kWhite,
             kPicture},
            caption("Reset to zero", rectOf(224, 661, 180, 56), 20, false, kCaption),
            {"the operand column", rectOf(420, 160, 72, 64), Kind::Text, 40, false, 0xFF0000FF,
             flat(0xFFC0C0C0)},
        });
    run([&] { f.Button16Click(); });
    found << failures("statistics reset", {{"the reset's prompt", rectOf(224, 610, 129, 30),
                                            Kind::Text, 16, false, kCrimson, kWindow}});
    run([&] { f.Button14Click(); });

    // Help: the instructions' text.
    run([&] { f.Button18Click(); });
    found << failures("help", {{"the instructions", rectOf(430, 100, 500, 60), Kind::Text, 20,
                                false, kWhite, kHelp}});

    // The game: its headings, the difficulty, the charts, the board and its marks.
    run([&] { f.Button15Click(); });
    found << controlFrameFailure("the focus on the difficulty bar", f.TrackBar3);
    run([&] { f.Button12Click(); });
    found << failures(
        "game",
        {
            {"the level", rectOf(24, 14, 140, 36), Kind::Text, 26, true, 0xFFA52A2A, kWindow},
            {"the results' heading", rectOf(40, 82, 330, 34), Kind::Text, 26, true, kBlack,
             kWindow},
            {"the number range", rectOf(40, 603, 160, 28), Kind::Text, 20, false, kBlack, kWindow},
            {"an unchosen difficulty", rectOf(32, 657, 50, 24), Kind::Text, 14, false, kDodgerBlue,
             kWindow},
            {"the chosen difficulty", rectOf(90, 657, 60, 24), Kind::Text, 14, false, 0xFFFF0000,
             kWindow},
            {"the difficulty's caption", rectOf(60, 685, 120, 28), Kind::Text, 20, false,
             kDodgerBlue, kWindow},
            {"the level chart's programme", rectOf(258, 142, 130, 28), Kind::Text, 20, false,
             0xFFFF6347, flat(kBlack)},
            {"the level chart's pupil", rectOf(268, 171, 112, 28), Kind::Text, 20, false,
             0xFF00BFFF, flat(kBlack)},
            {"the totals chart's scale", rectOf(80, 217, 38, 18), Kind::Text, 14, false, 0xFFC0C0C0,
             kPicture},
            {"the level chart's scale", rectOf(126, 206, 44, 18), Kind::Text, 14, false, kWhite,
             flat(kBlack)},
            {"the totals' caption", rectOf(12, 140, 58, 30), Kind::Text, 20, false, kWhite,
             kPicture},
            {"the programme's points", rectOf(50, 552, 60, 28), Kind::Text, 20, false, 0xFFFF6347,
             kPicture},
            {"the programme's score", rectOf(660, 4, 260, 42), Kind::Text, 28, true, kBlack,
             kWindow},
        });
    found << chosenDifficultyFailure();
    // A chosen cell and a found one on the board, with the frame on each.
    run([&] {
        f.Board[5][3].Mark = 2;
        f.Board[5][4].Mark = 3;
        f.DrawGrid(2, 0);
    });
    found << failures("game", {
                                  {"a chosen cell's number", rectOf(576, 374, 66, 54), Kind::Text,
                                   40, false, kBlack, flat(0xFF00BFFF)},
                                  {"a found cell's number", rectOf(654, 374, 66, 54), Kind::Text,
                                   40, false, kBlack, flat(kWhite)},
                              });
    found << cellFrameFailure("the focus on a chosen cell", {3, 5});
    found << cellFrameFailure("the focus on a found cell", {4, 5});
    found << cellFrameFailure("the focus on a free cell", {6, 5});
    run([&] { f.Button12Click(); });

    // The game's rules: their title on the dither and a found cell of their example.
    run([&] { f.Button16Click(); });
    found << failures("game rules", {
                                        {"the rules' title", rectOf(430, 96, 470, 38), Kind::Text,
                                         26, false, kWhite, kHelp},
                                        {"a found cell of the example", rectOf(546, 530, 42, 40),
                                         Kind::Text, 26, false, kBlack, flat(kWhite)},
                                    });

    found.removeAll(QString());
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothLooks, LookWindow,
                         ::testing::Values(ui::Look::Default, ui::Look::HighContrast),
                         [](const auto& info) {
                             return info.param == ui::Look::Default ? "Default" : "HighContrast";
                         });

// The pupil's dialogs and questions are Qt's own, with the window's warning colour; the default
// look shows them as they always were.
TEST(LookDialogs, InHighContrastTheirTextsReachTheirContrast) {
    ui::setCurrentLook(ui::Look::HighContrast);
    QStringList found;
    const auto checkWidget = [&](QWidget& dialog) {
        const QImage picture = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(child)) {
                text = label->text();
            } else if (auto* button = qobject_cast<QPushButton*>(child)) {
                text = button->text();
            }
            // Texts of disabled buttons (the accept button while a name is wrong) are exempt.
            if (text.isEmpty() || !child->isVisible() || !child->isEnabled()) {
                continue;
            }
            const QRect rect(child->mapTo(&dialog, QPoint(0, 0)), child->size());
            const Sample s = sample(picture, rect.adjusted(2, 2, -2, -2));
            if (s.worstContrast() < 4.5) {
                found << QStringLiteral("%1: %2 on %3 reaches %4")
                             .arg(text, hex(s.foreground), hex(s.backgrounds.front()))
                             .arg(s.worstContrast(), 0, 'f', 2);
            }
        }
    };
    const ui::NameRequest request{QStringLiteral("New pupil"), QStringLiteral("Name:"),
                                  QStringLiteral("OK"), QStringLiteral("Cancel"),
                                  [](const QString&) { return QStringLiteral("Taken already"); }};
    widgets::NameDialog dialog(request);
    dialog.line()->setText(QStringLiteral("Anna"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    checkWidget(dialog);
    dialog.close();

    widgets::NameDialogPrompt prompt;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        checkWidget(*box);
        static_cast<QDialog*>(box)->reject();
    });
    prompt.confirm({QStringLiteral("Remove"), QStringLiteral("Remove Anna?"),
                    QStringLiteral("Remove"), QStringLiteral("Keep")});
    ui::setCurrentLook(ui::Look::Default);
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

}  // namespace
