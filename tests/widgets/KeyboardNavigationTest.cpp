// The window from the keyboard: the focus walk, the grid's focus cell, typing numbers and the
// shortcuts, with real key events through the window.
#include <cmath>
#include <memory>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include "app/KeyboardRoles.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/GridFocus.h"
#include "ui/widgets/KeyboardNavigation.h"

namespace {

using widgets::FormView;
using widgets::GridCell;
using widgets::KeyboardNavigation;

TEST(TypedNumbers, GoToTheCellOfTheNumberTypedAndStartAfreshWhenItCannotBe) {
    struct Case {
        const char* keys;
        QString typed;
        std::optional<GridCell> cell;
    };
    const Case cases[] =
        {
            {"5", "5", GridCell{5, 1}},    {"56", "56", GridCell{6, 6}},
            {"10", "10", GridCell{10, 1}}, {"90", "90", GridCell{10, 9}},
            {"95", "5", GridCell{5, 1}},  // 95 has no cell: the 5 begins anew
            {"567", "7", GridCell{7, 1}},  {"0", "0", std::nullopt},
            {"05", "05", GridCell{5, 1}},
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        QString typed;
        for (const char* key = c.keys; *key != '\0'; ++key) {
            typed = widgets::withTypedDigit(typed, QChar(*key), 90);
        }
        EXPECT_EQ(typed, c.typed);
        EXPECT_EQ(widgets::cellOfNumber(typed.toInt(), 10, 90), c.cell);
    }
}

TEST(FocusCellMoves, StepByStepAndStopAtTheEdges) {
    EXPECT_EQ(widgets::movedCell({5, 5}, +1, 0, 10, 9), (GridCell{6, 5}));
    EXPECT_EQ(widgets::movedCell({5, 5}, 0, -1, 10, 9), (GridCell{5, 4}));
    EXPECT_EQ(widgets::movedCell({10, 9}, +1, +1, 10, 9), (GridCell{10, 9}));
    EXPECT_EQ(widgets::movedCell({1, 1}, -1, -1, 10, 9), (GridCell{1, 1}));
}

TEST(TrackBarArrows, MoveToTheNextWholeNumber) {
    EXPECT_EQ(widgets::wholeStep(300, +1), 400);
    EXPECT_EQ(widgets::wholeStep(300, -1), 200);
    EXPECT_EQ(widgets::wholeStep(340, +1), 400);
    EXPECT_EQ(widgets::wholeStep(340, -1), 300);
}

// The started form in a window of the design's size, with the keyboard attached and the window
// active, so that key events reach it as they do on screen.
// Collects what a widget repaints.
class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget* widget, QRegion& painted) : painted_(painted) {
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_ += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

  private:
    QRegion& painted_;
};

class KeyboardWindow : public FormFixture {
  protected:
    KeyboardWindow() {
        start();
        view = std::make_unique<FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); });
        keys = new KeyboardNavigation(*view, keyboardRoles(form()));
        view->resize(1280, 727);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        // Keys go to the active window, as on screen.
        if (!view->isActiveWindow()) {
            view->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        }
        QTest::keyClick(view->windowHandle(), k, modifiers);
    }

    void type(const QString& digits) {
        for (QChar digit : digits) {
            key(static_cast<Qt::Key>(Qt::Key_0 + digit.digitValue()));
        }
    }

    // The controls that Tab visits, once round, from where the focus is.
    QStringList tabRound() {
        if (QWidget* focused = keys->focusedWidget()) {
            focused->clearFocus();
        }
        QStringList visited;
        for (int i = 0; i < 40; ++i) {
            key(Qt::Key_Tab);
            const QWidget* focused = keys->focusedWidget();
            const QString name = focused != nullptr ? focused->objectName() : QStringLiteral("-");
            if (visited.contains(name)) {
                break;
            }
            visited.append(name);
        }
        return visited;
    }

    // Whether the focus frame is drawn on the top edge of the cell, in the window's own pixels.
    bool frameShownAt(GridCell cell) {
        const QRectF frame = keyboardRoles(form()).grid.frame(cell.column, cell.row);
        const QPointF edge = QPointF(416, 87) + QPointF(frame.center().x(), frame.top());
        const QColor seen = view->grab().toImage().pixelColor(edge.toPoint());
        return std::abs(seen.red() - 0xFF) < 16 && std::abs(seen.green() - 0x8C) < 16 &&
               seen.blue() < 16;
    }

    // Whether any pixel of a control's widget, as the window shows it, is the focus frame's orange.
    bool framed(const ui::Control& control) {
        const QRectF design = view->widgetFor(control)->graphicsProxyWidget()->sceneBoundingRect();
        const QRect shown =
            QRectF(view->mapFromDesign(design.topLeft()), view->mapFromDesign(design.bottomRight()))
                .toAlignedRect();
        const QImage shot = view->grab(shown).toImage();
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QColor seen = shot.pixelColor(x, y);
                if (std::abs(seen.red() - 0xFF) < 16 && std::abs(seen.green() - 0x8C) < 16 &&
                    seen.blue() < 16) {
                    return true;
                }
            }
        }
        return false;
    }

    // A press and release of the mouse at a point of the design.
    void click(QPointF design) {
        QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {},
                          view->mapFromDesign(design).toPoint());
    }

    void focus(const ui::Control& control) {
        view->widgetFor(control)->setFocus(Qt::TabFocusReason);
    }

    void run(const std::function<void()>& handler) {
        form().dispatch(handler);
        view->syncFromControls();
    }

    std::unique_ptr<FormView> view;
    KeyboardNavigation* keys = nullptr;
};

TEST_F(KeyboardWindow, TabVisitsOnlyWhatTheMouseCouldClickInASensibleOrder) {
    // The run settings are hidden at start, the difficulty lies under Button13 and Button14, and
    // Button16 is hidden.
    EXPECT_EQ(tabRound(),
              QStringList({"Button10",     "Button11", "Button1",    "Button2",  "Button3",
                           "Button4",      "Button5",  "Button6",    "Button7",  "Button8",
                           "Button9",      "Button12", "LookButton", "Button18", "ComboBox1",
                           "Panel1Viewer", "Button13", "Button14",   "Button15", "Button17"}));

    run([this] { form().Button15Click(); });
    EXPECT_EQ(tabRound(), QStringList({"Button12", "Panel1Viewer", "Button16", "TrackBar3",
                                       "Button15", "Button17"}));

    // The round ended back on Start; Shift+Tab goes round the other way.
    key(Qt::Key_Backtab);
    EXPECT_EQ(keys->focusedWidget()->objectName().toStdString(), "Button17");

    // The statistics table is read cell by cell: it is in the round.
    run([this] { form().Button15Click(); });
    run([this] { form().Button14Click(); });
    EXPECT_TRUE(tabRound().contains(QStringLiteral("Panel1Viewer")))
        << tabRound().join(' ').toStdString();
}

TEST_F(KeyboardWindow, EnterOnAFocusedButtonClicksItAndArrowsMoveATrackBarByWholeNumbers) {
    run([this] { form().Button15Click(); });
    focus(form().TrackBar3);
    key(Qt::Key_Left);
    EXPECT_EQ(form().TrackBar3.value(), 6);
    EXPECT_EQ(form().TrackBar3.tag(), 6);

    focus(form().Button15);
    key(Qt::Key_Return);
    EXPECT_EQ(form().Button15.tag(), 0);
}

TEST_F(KeyboardWindow, StartGivesTheTableTheFocusAndTypedDigitsAnswer) {
    focus(form().Button12);
    key(Qt::Key_Space);
    ASSERT_EQ(form().Button12.tag(), 1);
    EXPECT_EQ(keys->focusedWidget(), view->widgetFor(form().Panel1Viewer));

    type("56");
    EXPECT_EQ(keys->focusCell(), (GridCell{6, 6}));
    EXPECT_TRUE(frameShownAt(GridCell{6, 6}));
    EXPECT_FALSE(frameShownAt(GridCell{5, 5}));
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    EXPECT_EQ(keys->focusCell(), (GridCell{5, 5}));
    key(Qt::Key_Return);

    key(Qt::Key_Tab);
    EXPECT_FALSE(frameShownAt(GridCell{5, 5}));

    const auto& answers = form().RecentAnswers[form().Operation];
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers.back().Clicked, 45);
}

// The frame is a widget over the whole table: a step repaints the two cells' frames only.
TEST_F(KeyboardWindow, AStepOfTheFocusCellRepaintsOnlyWhereTheFrameWasAndIs) {
    focus(form().Button12);
    key(Qt::Key_Space);
    ASSERT_EQ(keys->focusedWidget(), view->widgetFor(form().Panel1Viewer));
    QTest::qWait(50);
    QRegion painted;
    PaintWatch watch(view->viewport(), painted);

    key(Qt::Key_Right);
    // The scene gathers the changes, then the window repaints them.
    QTest::qWait(50);

    const auto cellCentre = [this](GridCell cell) {
        const QRectF frame = keyboardRoles(form()).grid.frame(cell.column, cell.row);
        return view->mapFromDesign(QPointF(416, 87) + frame.center()).toPoint();
    };
    const auto frameEdge = [this](GridCell cell) {
        const QRectF frame = keyboardRoles(form()).grid.frame(cell.column, cell.row);
        return view->mapFromDesign(QPointF(416, 87) + QPointF(frame.center().x(), frame.top()))
            .toPoint();
    };
    EXPECT_TRUE(painted.contains(frameEdge(GridCell{1, 1})));
    EXPECT_TRUE(painted.contains(frameEdge(GridCell{2, 1})));
    EXPECT_FALSE(painted.contains(cellCentre(GridCell{6, 6})));
    EXPECT_FALSE(painted.contains(cellCentre(GridCell{10, 9})));
}

// While the language box shows its list, the keys choose in the list.
TEST_F(KeyboardWindow, TheOpenListOfTheLanguageBoxTakesTheArrowsAndEnter) {
    const int before = form().ComboBox1.itemIndex();
    const QPointF inBox =
        view->widgetFor(form().ComboBox1)->graphicsProxyWidget()->mapToScene(QPointF(20, 10));
    QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {},
                      view->mapFromDesign(inBox).toPoint());
    const auto* combo = static_cast<QComboBox*>(view->widgetFor(form().ComboBox1));
    ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }));

    key(before == 0 ? Qt::Key_Down : Qt::Key_Up);
    key(Qt::Key_Return);

    EXPECT_EQ(form().ComboBox1.itemIndex(), before == 0 ? 1 : before - 1);
    EXPECT_FALSE(combo->view()->isVisible());
}

TEST_F(KeyboardWindow, StartByMouseGivesTheTableTheFocusToo) {
    QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {},
                      view->mapFromDesign(QPointF(224 + 90, 8 + 28)).toPoint());
    ASSERT_EQ(form().Button12.tag(), 1);
    EXPECT_EQ(keys->focusedWidget(), view->widgetFor(form().Panel1Viewer));
}

// The frames are for keyboard users: a pupil who only uses the mouse never sees one, in the
// answer table or on the board, whatever has the focus.
TEST_F(KeyboardWindow, TheFocusIsFramedOnlyFromAKeyThatWorksTheWindowToTheNextPress) {
    for (const bool game : {false, true}) {
        SCOPED_TRACE(game ? "the board" : "the answer table");
        if (game) {
            run([this] { form().Button15Click(); });
        }
        click(QPointF(224 + 90, 8 + 28));  // Start
        ASSERT_EQ(form().Button12.tag(), 1);
        ASSERT_EQ(keys->focusedWidget(), view->widgetFor(form().Panel1Viewer));
        const GridCell first = keys->focusCell();
        EXPECT_FALSE(frameShownAt(first));

        key(Qt::Key_Down);
        const GridCell below = keys->focusCell();
        ASSERT_NE(below, first);
        EXPECT_TRUE(frameShownAt(below));

        // A press on a cell takes the focus cell there, unframed.
        const GridCell pressed{below.column == 10 ? 9 : below.column + 1, below.row};
        const QRectF frame = keyboardRoles(form()).grid.frame(pressed.column, pressed.row);
        click(QPointF(416, 87) + frame.center());
        ASSERT_EQ(keys->focusCell(), pressed);
        EXPECT_FALSE(frameShownAt(pressed));

        key(Qt::Key_Escape);  // Stop, by key: the frames are back
        ASSERT_EQ(form().Button12.tag(), 0);
        focus(form().Button12);
        EXPECT_TRUE(framed(form().Button12));
        click(QPointF(416, 87) + frame.center());
        EXPECT_FALSE(framed(form().Button12));
        if (game) {
            run([this] { form().Button15Click(); });  // out of the game
        }
    }
    // The difficulty bar takes the focus from a click, as Qt's track bars do.
    run([this] { form().Button15Click(); });
    ASSERT_TRUE(form().TrackBar3.visible());
    const QRectF bar =
        view->widgetFor(form().TrackBar3)->graphicsProxyWidget()->sceneBoundingRect();
    click(bar.center());
    ASSERT_EQ(keys->focusedWidget(), view->widgetFor(form().TrackBar3));
    EXPECT_FALSE(framed(form().TrackBar3));
    key(Qt::Key_Right);
    EXPECT_TRUE(framed(form().TrackBar3));
}

// Arrows on a button walk as Tab does: the difficulty bar under Button13 is passed over.
TEST_F(KeyboardWindow, ArrowsOnAButtonWalkToWhatTheMouseCouldClick) {
    const struct {
        Qt::Key key;
        const char* focused;
    } steps[] = {{Qt::Key_Right, "Button17"},
                 {Qt::Key_Left, "Button15"},
                 {Qt::Key_Down, "Button17"},
                 {Qt::Key_Up, "Button15"}};
    focus(form().Button15);
    for (const auto& step : steps) {
        key(step.key);
        ASSERT_NE(keys->focusedWidget(), nullptr);
        EXPECT_EQ(keys->focusedWidget()->objectName().toStdString(), step.focused);
    }
}

// Holding F1 opens the game's rules once, not at the rate the key repeats.
TEST_F(KeyboardWindow, AHeldShortcutActsOnce) {
    run([this] { form().Button15Click(); });
    key(Qt::Key_F1);
    const unsigned rules = form().Panel1Viewer.pictureVersion();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent held(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(view.get(), &held);
    }
    EXPECT_EQ(form().Panel1Viewer.pictureVersion(), rules);
}

TEST_F(KeyboardWindow, EscapeStopsARunningRunAndNothingElse) {
    key(Qt::Key_Escape);
    EXPECT_EQ(form().Button12.tag(), 0);
    EXPECT_FALSE(form().Timer1.enabled());

    run([this] { form().Button12Click(); });
    key(Qt::Key_Escape);
    EXPECT_EQ(form().Button12.tag(), 0);
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_EQ(form().Button12.text(), form().uiText(3));
    EXPECT_EQ(form().Progress.MarkHistoryLength[form().Operation][form().SelectedNumber], 0);
}

TEST_F(KeyboardWindow, F1OpensTheHelpOnlyWhereTheHelpButtonIsShown) {
    // On the statistics screen Button16 is the reset: F1 must not ask for it.
    run([this] { form().Button14Click(); });
    ASSERT_TRUE(form().Button16.visible());
    key(Qt::Key_F1);
    EXPECT_FALSE(form().Label17.visible());
    run([this] { form().Button14Click(); });

    key(Qt::Key_F1);
    EXPECT_FALSE(form().Button18.visible());
    const unsigned instructions = form().Panel1Viewer.pictureVersion();
    key(Qt::Key_F1);
    EXPECT_EQ(form().Panel1Viewer.pictureVersion(), instructions);

    // In the game, F1 is the game's rules until the first level starts.
    run([this] { form().Button15Click(); });
    const unsigned table = form().Panel1Viewer.pictureVersion();
    key(Qt::Key_F1);
    EXPECT_NE(form().Panel1Viewer.pictureVersion(), table);
    run([this] { form().Button12Click(); });
    const unsigned board = form().Panel1Viewer.pictureVersion();
    key(Qt::Key_F1);
    EXPECT_EQ(form().Panel1Viewer.pictureVersion(), board);
}

// On a page shown in the table's place (the game's rules, the help) there is no cell to frame:
// the frame goes round the whole viewer, and none is left over the page where a cell was.
TEST_F(KeyboardWindow, OnAPageTheFrameGoesRoundTheViewerNotWhereACellWas) {
    const auto edgeFramed = [this] {
        const QRectF design =
            view->widgetFor(form().Panel1Viewer)->graphicsProxyWidget()->sceneBoundingRect();
        const QPointF edge(design.left() + 4, design.center().y());
        const QColor seen = view->grab().toImage().pixelColor(view->mapFromDesign(edge).toPoint());
        return std::abs(seen.red() - 0xFF) < 16 && std::abs(seen.green() - 0x8C) < 16 &&
               seen.blue() < 16;
    };
    run([this] { form().Button15Click(); });
    focus(form().Panel1Viewer);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    ASSERT_TRUE(frameShownAt(GridCell{2, 2}));
    EXPECT_FALSE(edgeFramed());

    key(Qt::Key_F1);
    EXPECT_FALSE(frameShownAt(GridCell{2, 2}));
    EXPECT_TRUE(edgeFramed());
}

// A second window over a form of its own, answered with the mouse.
struct MouseWindow {
    explicit MouseWindow(double now, const std::deque<int>& draws)
        : clock(now),
          form(folder.path() + QStringLiteral("/Kestrova/"), clock, random, reporter),
          view((form.FormCreate(), form.controls()), form.Timer1,
               [this](const std::function<void()>& handler) { return form.dispatch(handler); }) {
        // Drawn after the start, as in the test's own form.
        for (int draw : draws) {
            random.push(draw);
        }
        view.resize(1280, 727);
        view.show();
    }

    void click(QPointF design) {
        QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {},
                          view.mapFromDesign(design).toPoint());
    }

    QByteArray file(const QString& name) const {
        QFile stored(folder.path() + QStringLiteral("/Kestrova/") + name);
        return stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    ui::FixedClock clock;
    ui::ScriptedRandom random;
    ui::CollectingErrorReporter reporter;
    TForm3 form;
    FormView view;
};

TEST_F(KeyboardWindow, ARunAnsweredFromTheKeyboardCountsAsTheSameRunByMouse) {
    const std::deque<int> draws = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7};
    for (int draw : draws) {
        random.push(draw);
    }
    MouseWindow mouse(kStartMoment, draws);
    // Every third answer wrong, so that errors and a mark below 5 are compared too.
    const auto answer = [](const TForm3& f, int i) {
        return i % 3 == 0 ? wrongAnswer(f) : f.ExpectedAnswer;
    };

    focus(form().Button12);
    key(Qt::Key_Return);
    mouse.click(QPointF(224 + 90, 8 + 28));
    ASSERT_EQ(form().ExercisesInRun, 25);
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(form().ExpectedAnswer, mouse.form.ExpectedAnswer) << "exercise " << i;
        type(QString::number(answer(form(), i)));
        key(Qt::Key_Return);
        mouse.click(QPointF(416, 87) + cellCentre(mouse.form, answer(mouse.form, i)));
    }

    ASSERT_EQ(form().Progress.MarkHistoryLength[2][2], 1);
    EXPECT_EQ(readDataFile("Save.dat"), mouse.file("Save.dat"));
    EXPECT_EQ(readDataFile("save2.dat"), mouse.file("save2.dat"));
    EXPECT_EQ(form().RecentAnswers[2], mouse.form.RecentAnswers[2]);
    EXPECT_EQ(form().CurrentErrors[2], mouse.form.CurrentErrors[2]);
    EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_TRUE(mouse.reporter.messages.isEmpty());
}

TEST_F(FormFixture, AKeyBeforeTheWidgetsShowWorksAsItWouldAfter) {
    start();
    FormView view(
        form().controls(), form().Timer1,
        [this](const std::function<void()>& handler) { return form().dispatch(handler); },
        FormView::FirstFrame::PaintedBeforeWidgetsShow);
    new KeyboardNavigation(view, keyboardRoles(form()));
    view.resize(1280, 727);
    ASSERT_FALSE(view.widgetFor(form().Button18)->isVisible());

    ASSERT_TRUE(form().Button18.visible());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    EXPECT_FALSE(form().Button18.visible());  // the help is open
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(KeyboardWindow, ATripleFoundFromTheKeyboardScores) {
    run([this] { form().Button15Click(); });
    focus(form().Button12);
    key(Qt::Key_Return);
    ASSERT_EQ(form().Button12.tag(), 1);
    ASSERT_EQ(keys->focusedWidget(), view->widgetFor(form().Panel1Viewer));

    // 7 and 8 side by side in row 5, columns 4 and 5, and their product next to them.
    const int values[] = {7, 8, 56};
    for (int i = 0; i < 3; ++i) {
        form().Board[5][4 + i] = {static_cast<std::uint8_t>(values[i]), 0};
    }
    for (int i = 0; i < 10; ++i) {
        key(Qt::Key_Left);
        key(Qt::Key_Up);
    }
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Right);
    }
    for (int i = 0; i < 4; ++i) {
        key(Qt::Key_Down);
    }
    ASSERT_EQ(keys->focusCell(), (GridCell{4, 5}));
    key(Qt::Key_Return);
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    key(Qt::Key_Right);
    key(Qt::Key_Return);

    EXPECT_EQ(form().Label5.tag(), 56);
    for (int column = 4; column <= 6; ++column) {
        EXPECT_EQ(form().Board[5][column].Mark, 3);
    }
}

}  // namespace
