// The Qt window over the form's controls, headless: placement at several window sizes, input
// reaching the controls, and the widgets following the controls after every event.
#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include "tests/support/FormFixture.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/PictureView.h"
#include "ui/widgets/Style.h"

namespace {

using widgets::FormView;

// A window of the given size, shown, with its design laid out.
void showAt(FormView& view, QSize size) {
    view.resize(size);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
}

// Where a point of the design lands in the window, from the size alone: the design scaled to
// fit with its aspect kept, and centred.
QPointF expectedWindowPoint(QSize window, QPointF design) {
    const double scale = std::min(window.width() / 1280.0, window.height() / 727.0);
    const QPointF offset((window.width() - 1280 * scale) / 2, (window.height() - 727 * scale) / 2);
    return offset + design * scale;
}

QRectF designRectInWindow(const ui::Control& control) {
    QRectF rect = control.rect();
    for (const ui::Panel* panel = control.parent(); panel != nullptr; panel = panel->parent()) {
        rect.translate(panel->rect().topLeft());
    }
    return rect;
}

// The rectangle a widget actually covers in the window, through the scene and the view.
QRectF coveredInWindow(const FormView& view, const QWidget& widget) {
    const QRectF inScene = widget.graphicsProxyWidget()->mapRectToScene(QRectF(widget.rect()));
    return view.viewportTransform().mapRect(inScene).translated(view.viewport()->pos());
}

// What the window repaints, in window pixels, while it is watched.
class PaintedArea : public QObject {
  public:
    explicit PaintedArea(QWidget* viewport) { viewport->installEventFilter(this); }
    QRegion area;
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            area += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
};

void click(FormView& view, QPointF designPoint) {
    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {},
                      view.mapFromDesign(designPoint).toPoint());
}

// The real form, started, in a window of the size of the test's parameter.
class FormWindowAtSize : public FormFixture, public ::testing::WithParamInterface<QSize> {
  protected:
    FormWindowAtSize() {
        start();
        view = std::make_unique<FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); });
        showAt(*view, GetParam());
    }

    std::unique_ptr<FormView> view;
};

TEST_P(FormWindowAtSize, EveryControlCoversItsDesignRectangleScaled) {
    const QSize size = GetParam();
    const double scale = std::min(size.width() / 1280.0, size.height() / 727.0);
    for (ui::Control* control : form().controls()) {
        SCOPED_TRACE(control->name().toStdString());
        const QWidget* widget = view->widgetFor(*control);
        ASSERT_NE(widget, nullptr);
        const QRectF design = designRectInWindow(*control);
        const QRectF covered = coveredInWindow(*view, *widget);
        const QPointF topLeft = expectedWindowPoint(size, design.topLeft());
        const QPointF bottomRight = expectedWindowPoint(size, design.bottomRight());
        EXPECT_NEAR(covered.left(), topLeft.x(), 1.0);
        EXPECT_NEAR(covered.top(), topLeft.y(), 1.0);
        EXPECT_NEAR(covered.right(), bottomRight.x(), 1.0);
        EXPECT_NEAR(covered.bottom(), bottomRight.y(), 1.0);
        EXPECT_NEAR(view->designScale(), scale, 1e-9);
    }
}

TEST_P(FormWindowAtSize, ClickOnTheCloseButtonOutsideItsPanelClosesTheWindow) {
    int closings = 0;
    view->onClose = [&closings] { ++closings; };
    form().onCloseRequested = [this] { view->close(); };

    // The close button lies beyond the right edge of its panel and is drawn there.
    const QWidget* button = view->widgetFor(form().Button17);
    ASSERT_TRUE(button->isVisible());
    click(*view, QPointF(1202 + 75 / 2.0, 662 + 57 / 2.0));

    EXPECT_TRUE(form().closeRequested());
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(closings, 1);
}

TEST_P(FormWindowAtSize, PressAndReleaseOfAnyButtonOnTheGridReachTheFormInViewerUnits) {
    std::vector<QPointF> presses;
    std::vector<QPointF> releases;
    form().Panel1Viewer.onMouseDown = [&](double x, double y) { presses.emplace_back(x, y); };
    form().Panel1Viewer.onMouseUp = [&](double x, double y) { releases.emplace_back(x, y); };

    // Panel1 lies at 416, 87 in the window; the viewer fills it.
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    for (Qt::MouseButton button : buttons) {
        QTest::mouseClick(view->windowHandle(), button, {},
                          view->mapFromDesign(QPointF(416 + 100, 87 + 50)).toPoint());
    }

    const double tolerance = 1.0 / view->designScale();
    ASSERT_EQ(presses.size(), std::size(buttons));
    ASSERT_EQ(releases.size(), std::size(buttons));
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(presses[i].x(), 100, tolerance);
        EXPECT_NEAR(presses[i].y(), 50, tolerance);
        EXPECT_NEAR(releases[i].x(), 100, tolerance);
        EXPECT_NEAR(releases[i].y(), 50, tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(DesignWiderAndTaller, FormWindowAtSize,
                         ::testing::Values(QSize(1280, 727), QSize(2560, 1080), QSize(1024, 768)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

class CloseButtonPlace : public FormFixture {};

TEST_F(CloseButtonPlace, CoversTheWindowRectangleOfTheDesignAt1280x727) {
    start();
    FormView view(form().controls(), form().Timer1, [this](const std::function<void()>& handler) {
        return form().dispatch(handler);
    });
    showAt(view, QSize(1280, 727));

    EXPECT_EQ(coveredInWindow(view, *view.widgetFor(form().Button17)), QRectF(1202, 662, 75, 57));
}

// The window as the program opens it: the first frame is painted before the widgets are shown.
class FirstFrameBeforeWidgets : public FormFixture, public ::testing::WithParamInterface<QSize> {
  protected:
    FirstFrameBeforeWidgets() {
        start();
        view = std::make_unique<FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); },
            FormView::FirstFrame::PaintedBeforeWidgetsShow);
        view->resize(GetParam());
    }

    // Every widget shows exactly where its control does.
    void expectWidgetsFollowTheirControls() {
        for (ui::Control* control : form().controls()) {
            SCOPED_TRACE(control->name().toStdString());
            EXPECT_EQ(view->widgetFor(*control)->isVisible(), widgets::shownInWindow(*control));
        }
    }

    std::unique_ptr<FormView> view;
};

TEST_P(FirstFrameBeforeWidgets, TheFirstFrameIsPixelForPixelTheWindowTheWidgetsShowAfterIt) {
    QWidget* start = view->widgetFor(form().Button12);
    ASSERT_TRUE(widgets::shownInWindow(form().Button12));
    // The pointer over the window as it appears is no reason to show the widgets before it.
    QHoverEvent hover(QEvent::HoverMove, QPointF(600, 300), QPointF(600, 300), QPointF(590, 300));
    QApplication::sendEvent(view->viewport(), &hover);
    ASSERT_FALSE(start->isVisible());

    const QImage first = view->grab().toImage();
    ASSERT_FALSE(start->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([start] { return start->isVisible(); }));
    expectWidgetsFollowTheirControls();

    const QImage settled = view->grab().toImage();
    ASSERT_EQ(first.size(), settled.size());
    EXPECT_TRUE(first == settled);
}

TEST_P(FirstFrameBeforeWidgets, AClickBeforeTheWidgetsShowReachesItsControl) {
    view->show();  // no event handled yet: nothing painted
    ASSERT_FALSE(view->widgetFor(form().Button17)->isVisible());

    const QPoint at =
        view->viewportTransform().map(QPointF(1202 + 75 / 2.0, 662 + 57 / 2.0)).toPoint();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
    EXPECT_TRUE(form().closeRequested());
}

TEST_P(FirstFrameBeforeWidgets, AskingWhatIsOnTheScreenShowsTheWidgets) {
    ASSERT_EQ(view->focusedWidget(), nullptr);
    expectWidgetsFollowTheirControls();
}

INSTANTIATE_TEST_SUITE_P(Sizes, FirstFrameBeforeWidgets,
                         ::testing::Values(QSize(1280, 727), QSize(1920, 1080), QSize(1000, 700)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

// A small window of test-made controls: a panel with a button, a button and a label over it,
// a track bar, a progress bar, a combo box, a viewer, and the timer.
class TestControls : public ::testing::Test {
  protected:
    TestControls() {
        panel.setRect({100, 100, 200, 200});
        inPanel.setParent(&panel);
        inPanel.setRect({10, 10, 80, 40});
        button.setRect({400, 100, 180, 56});
        cover.setRect({400, 100, 180, 56});
        cover.setText(QStringLiteral("over the button"));
        status.setRect({400, 200, 120, 30});
        trackBar.initialise(1, 10, 1);
        trackBar.setRect({400, 300, 200, 32});
        progress.setRect({700, 100, 10, 300});
        progress.setVertical(true);
        combo.initialise({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")},
                         0);
        combo.setRect({700, 500, 150, 32});
        viewerPanel.setRect({900, 100, 300, 300});
        viewer.attachTo(viewerPanel);
        controls = {&panel,    &inPanel,  &button, &cover,       &status,
                    &trackBar, &progress, &combo,  &viewerPanel, &viewer};
    }

    void makeView(QSize size = QSize(1280, 727)) {
        view = std::make_unique<FormView>(controls, timer,
                                          [this](const std::function<void()>& handler) {
                                              return ui::dispatch(reporter, handler);
                                          });
        showAt(*view, size);
    }

    template <class W>
    W* widget(const ui::Control& control) {
        return qobject_cast<W*>(view->widgetFor(control));
    }

    ui::Panel panel{"Panel"};
    ui::Button inPanel{"InPanel"};
    ui::Button button{"Button"};
    ui::Label cover{"Cover"};
    ui::Label status{"Status"};
    ui::TrackBar trackBar{"TrackBar"};
    ui::ProgressBar progress{"Progress"};
    ui::ComboBox combo{"Combo"};
    ui::Panel viewerPanel{"ViewerPanel"};
    ui::ImageViewer viewer{"Viewer"};
    ui::Timer timer;
    std::vector<ui::Control*> controls;
    ui::CollectingErrorReporter reporter;
    std::unique_ptr<FormView> view;
};

TEST_F(TestControls, ClicksReachTheButtonUnderneathALabelAndInsideAPanel) {
    int clicks = 0;
    int panelClicks = 0;
    button.onClick = [&clicks] { ++clicks; };
    inPanel.onClick = [&panelClicks] { ++panelClicks; };
    makeView(QSize(1920, 1080));

    click(*view, QPointF(490, 128));
    click(*view, QPointF(150, 130));

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(panelClicks, 1);
}

TEST_F(TestControls, AfterAClickEveryWidgetFollowsItsControl) {
    button.onClick = [this] {
        status.setText(QStringLiteral("done"));
        status.setFontColor(0xFFDC143C);
        status.setFontSize(20);
        panel.hide();
        button.setSelected(true);
        button.setTop(120);
        trackBar.setValue(3.4);
        trackBar.setEnabled(false);
        progress.setMaximum(50);
        progress.setValue(20);
        combo.setItemIndex(2);
    };
    makeView();

    click(*view, QPointF(490, 128));

    auto* label = widget<QLabel>(status);
    EXPECT_EQ(label->text(), QStringLiteral("done"));
    EXPECT_EQ(label->font().pixelSize(), 20);
    label->ensurePolished();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0xDC, 0x14, 0x3C));
    // A hidden panel hides what lies in it.
    EXPECT_FALSE(widget<QFrame>(panel)->isVisible());
    EXPECT_FALSE(widget<QPushButton>(inPanel)->isVisible());
    auto* pushButton = widget<QPushButton>(button);
    pushButton->ensurePolished();
    EXPECT_EQ(pushButton->palette().color(QPalette::ButtonText), QColor(Qt::black));
    EXPECT_EQ(pushButton->geometry(), QRect(400, 120, 180, 56));
    EXPECT_EQ(widget<QSlider>(trackBar)->value(), 340);
    EXPECT_FALSE(widget<QSlider>(trackBar)->isEnabled());
    EXPECT_EQ(widget<QProgressBar>(progress)->maximum(), 5000);
    EXPECT_EQ(widget<QProgressBar>(progress)->value(), 2000);
    EXPECT_EQ(widget<QProgressBar>(progress)->orientation(), Qt::Vertical);
    EXPECT_EQ(widget<QComboBox>(combo)->currentIndex(), 2);
}

TEST_F(TestControls, UnselectedButtonsShowTheStyleTextColour) {
    makeView();
    auto* pushButton = widget<QPushButton>(button);
    pushButton->ensurePolished();
    EXPECT_EQ(pushButton->palette().color(QPalette::ButtonText), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(TestControls, AButtonThatStaysPressedShowsItsPressedLookUntilTheNextClick) {
    button.setStaysPressed(true);
    makeView();
    auto* pushButton = widget<QPushButton>(button);
    // Near the top the pressed look is the darker end of the gradient.
    auto topColour = [this] {
        const QImage shot = view->grab().toImage();
        const QPointF at = view->mapFromDesign(QPointF(490, 105));
        return shot.pixelColor(at.toPoint());
    };
    const QColor raised = topColour();

    for (bool pressed : {true, false, true}) {
        SCOPED_TRACE(pressed);
        click(*view, QPointF(490, 128));
        EXPECT_EQ(button.pressed(), pressed);
        EXPECT_EQ(pushButton->isChecked(), pressed);
        EXPECT_EQ(topColour().blue() < raised.blue(), pressed);
        // The pressed look leaves the text colour to the selected and unselected looks.
        EXPECT_EQ(pushButton->palette().color(QPalette::ButtonText), QColor(0xE0, 0xE0, 0xE0));
    }
}

TEST_F(TestControls, MovingTheSliderSetsTheTrackBarOnceAndSyncingNeverFeedsBack) {
    std::vector<double> changes;
    trackBar.onChange = [this, &changes] {
        changes.push_back(trackBar.value());
        // A value finer than the slider's steps must stay as the handler left it.
        if (trackBar.value() == 2.5) {
            trackBar.setValue(3.456);
        }
    };
    makeView();

    widget<QSlider>(trackBar)->setValue(250);

    EXPECT_THAT(changes, ::testing::ElementsAre(2.5, 3.456));
    EXPECT_EQ(trackBar.value(), 3.456);
    EXPECT_EQ(widget<QSlider>(trackBar)->value(), 346);
}

TEST_F(TestControls, ChoosingAComboItemRunsTheChangeHandlerOnlyForTheUsersChoice) {
    int changes = 0;
    combo.onChange = [&changes] { ++changes; };
    button.onClick = [this] { combo.setItemIndex(1); };
    makeView();

    click(*view, QPointF(490, 128));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(widget<QComboBox>(combo)->currentIndex(), 1);

    emit widget<QComboBox>(combo)->activated(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(combo.itemIndex(), 2);
}

TEST_F(TestControls, AnErrorInAHandlerIsReportedAndTheWindowGoesOn) {
    int clicks = 0;
    button.onClick = [this, &clicks] {
        ++clicks;
        status.setText(QStringLiteral("before the error"));
        throw ui::RangeError(QStringLiteral("Index 11 outside 1..10"));
    };
    makeView();

    click(*view, QPointF(490, 128));
    click(*view, QPointF(490, 128));

    EXPECT_EQ(clicks, 2);
    EXPECT_THAT(reporter.messages,
                ::testing::ElementsAre(QStringLiteral("Index 11 outside 1..10"),
                                       QStringLiteral("Index 11 outside 1..10")));
    // What the handler changed before it failed is shown.
    EXPECT_EQ(widget<QLabel>(status)->text(), QStringLiteral("before the error"));
}

TEST_F(TestControls, TheTimerRunsWhileItsControlIsEnabled) {
    int ticks = 0;
    timer.onTimer = [this, &ticks] {
        ++ticks;
        timer.setEnabled(false);
    };
    button.onClick = [this] { timer.setEnabled(true); };
    makeView();
    EXPECT_FALSE(view->timerRunning());

    click(*view, QPointF(490, 128));
    EXPECT_TRUE(view->timerRunning());

    QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 5000);
    EXPECT_FALSE(view->timerRunning());
}

TEST_F(TestControls, LabelsCutTextThatDoesNotFitAtACharacterAndTheWrappingLabelKeepsIt) {
    status.setText(QStringLiteral("a text far too long for this label"));
    cover.setRect({400, 400, 120, 60});
    cover.setWordWrap(true);
    cover.setText(QStringLiteral("words that wrap"));
    makeView();

    const QString shown = widget<QLabel>(status)->text();
    const QFontMetricsF metrics(widget<QLabel>(status)->font());
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(status.text().startsWith(shown));
    EXPECT_LE(metrics.horizontalAdvance(shown), 120.0);
    EXPECT_GT(metrics.horizontalAdvance(status.text().left(shown.size() + 1)), 120.0);
    EXPECT_EQ(widget<QLabel>(cover)->text(), QStringLiteral("words that wrap"));
    EXPECT_TRUE(widget<QLabel>(cover)->wordWrap());
}

TEST(CutToWidth, KeepsWhatFitsAndCutsEachLineAtACharacter) {
    const QFont font = ui::makeFont(20);
    const QFontMetricsF metrics(font);
    const QString word = QStringLiteral("Умножение");
    const double full = metrics.horizontalAdvance(word);
    struct Case {
        double width;
        QString expected;
    };
    const Case cases[] = {
        {full, word},
        {full - 1, word.left(word.size() - 1)},
        {metrics.horizontalAdvance(QStringLiteral("Ум")) + 0.5, QStringLiteral("Ум")},
        {1, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(widgets::cutToWidth(word, font, c.width), c.expected);
    }
    EXPECT_EQ(widgets::cutToWidth(word + QStringLiteral("\nна"), font, full - 1),
              word.left(word.size() - 1) + QStringLiteral("\nна"));
}

TEST_F(TestControls, TheViewerShowsItsPictureFromTheCornerAtItsScaleWithItsOwnPixels) {
    // At window scale 2 each case maps one picture pixel onto one window pixel: a picture
    // painted at twice the design resolution shown at bitmap scale 1, and a plain one shown at
    // half size.
    struct Case {
        double pixelRatio;
        double bitmapScale;
    };
    for (const Case c : {Case{2.0, 1.0}, Case{1.0, 0.5}}) {
        SCOPED_TRACE(c.bitmapScale);
        ui::Bitmap bitmap(c.pixelRatio);
        bitmap.setSize(200, 100);
        {
            ui::Canvas canvas(bitmap);
            canvas.clear(0xFFFF0000);
            canvas.setFillColor(0xFF0000FF);
            canvas.fillRoundRect(QRectF(0, 0, 100, 100), 0, 0);
        }
        viewer.setPicture(bitmap);
        viewer.setBitmapScale(c.bitmapScale);
        makeView(QSize(2560, 1454));

        auto* picture = dynamic_cast<widgets::PictureView*>(view->widgetFor(viewer));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->picture().devicePixelRatio(), c.pixelRatio);
        const QImage shot = view->grab().toImage();
        // x and y in picture units.
        auto at = [&](double x, double y) {
            const QPointF inViewer(x * c.bitmapScale, y * c.bitmapScale);
            const QPointF inWindow = view->mapFromDesign(QPointF(900, 100) + inViewer);
            return shot.pixelColor(static_cast<int>(std::floor(inWindow.x())),
                                   static_cast<int>(std::floor(inWindow.y())));
        };
        EXPECT_EQ(at(50, 50), QColor(Qt::blue));
        EXPECT_EQ(at(150, 50), QColor(Qt::red));
        EXPECT_NE(at(250, 50), QColor(Qt::red));
        EXPECT_NE(at(50, 150), QColor(Qt::blue));
        // The edge between blue and red is one pixel sharp.
        const double halfPixel = 0.5 / (2 * c.bitmapScale);
        EXPECT_EQ(at(100 - halfPixel, 50), QColor(Qt::blue));
        EXPECT_EQ(at(100 + halfPixel, 50), QColor(Qt::red));
    }
}

TEST_F(TestControls, ANewPictureIsShownAfterTheEventThatPaintedIt) {
    ui::Bitmap bitmap;
    bitmap.setSize(300, 300);
    button.onClick = [this, &bitmap] {
        {
            ui::Canvas canvas(bitmap);
            canvas.clear(0xFF00FF00);
        }
        viewer.setPicture(bitmap);
    };
    makeView();
    auto* picture = dynamic_cast<widgets::PictureView*>(view->widgetFor(viewer));
    EXPECT_TRUE(picture->picture().isNull());

    click(*view, QPointF(490, 128));

    ASSERT_FALSE(picture->picture().isNull());
    EXPECT_EQ(picture->picture().pixelColor(10, 10), QColor(Qt::green));
}

// Each control repaints by itself: two changes far apart leave what lies between them alone.
TEST_F(TestControls, AChangeRepaintsItsControlAndNotTheSpaceBetweenChanges) {
    makeView(QSize(1920, 1080));
    QTest::qWait(50);
    PaintedArea painted(view->viewport());

    status.setText(QStringLiteral("changed"));
    progress.setValue(50);
    view->syncFromControls();
    // The scene gathers the changes, then the window repaints them.
    QTest::qWait(50);

    const auto at = [this](double x, double y) { return view->mapFromDesign({x, y}).toPoint(); };
    EXPECT_TRUE(painted.area.contains(at(410, 215)));
    EXPECT_TRUE(painted.area.contains(at(705, 390)));
    EXPECT_FALSE(painted.area.contains(at(600, 250)));
    EXPECT_FALSE(painted.area.contains(at(490, 128)));
}

// What one event changes reaches the screen in one frame: a label shown and a new picture,
// which Qt would otherwise hand to the scene in two rounds, one frame apart.
TEST_F(TestControls, WhatAnEventChangesIsPaintedInOneFrame) {
    ui::Bitmap bitmap;
    bitmap.setSize(300, 300);
    {
        ui::Canvas canvas(bitmap);
        canvas.clear(0xFF0000FF);
    }
    viewer.setPicture(bitmap);
    status.hide();
    button.onClick = [this, &bitmap] {
        {
            ui::Canvas canvas(bitmap);
            canvas.clear(0xFF00FF00);
        }
        viewer.setPicture(bitmap);
        status.setText(QStringLiteral("shown"));
        status.show();
    };
    makeView();
    QTest::qWait(50);
    PaintedArea painted(view->viewport());

    click(*view, QPointF(490, 128));
    QTest::qWait(100);

    EXPECT_EQ(painted.paints, 1);
    EXPECT_TRUE(painted.area.contains(view->mapFromDesign({1050, 250}).toPoint()));
    EXPECT_TRUE(painted.area.contains(view->mapFromDesign({410, 215}).toPoint()));
}

// The panel beneath a viewer is left unpainted where an opaque picture covers it; the window
// shows the pixels a new window would, and a translucent picture shown after opaque ones has the
// panel beneath it again.
TEST_F(TestControls, APanelBeneathAPictureShowsWhatAFreshWindowShows) {
    // Pictures painted at 3 pixels per unit shown at 2.97, smoothed: opaque ones are kept scaled.
    auto painted = [](QRgb colour) {
        auto bitmap = std::make_unique<ui::Bitmap>(3.0);
        bitmap->setSize(300, 300);
        ui::Canvas canvas(*bitmap);
        canvas.clear(colour);
        canvas.setFillColor(0xFFFFFFFF);
        canvas.fillRoundRect(QRectF(40, 40, 100, 60), 8, 8);
        return bitmap;
    };
    const auto blue = painted(0xFF2040C0);
    const auto green = painted(0xFF20C040);
    const auto translucent = painted(0x80C02020);
    const QSize screen(3840, 2160);
    auto freshWindow = [&](const ui::Bitmap& picture) {
        viewer.setPicture(picture);
        FormView fresh(controls, timer, [this](const std::function<void()>& handler) {
            return ui::dispatch(reporter, handler);
        });
        showAt(fresh, screen);
        return fresh.grab().toImage();
    };
    const QImage blueAlone = freshWindow(*blue);
    const QImage translucentAlone = freshWindow(*translucent);

    viewer.setPicture(*blue);
    makeView(screen);
    auto* picture = dynamic_cast<widgets::PictureView*>(view->widgetFor(viewer));
    ASSERT_NE(picture, nullptr);
    for (int time = 0; time < 3; ++time) {
        for (const ui::Bitmap* shown : {green.get(), blue.get()}) {
            viewer.setPicture(*shown);
            view->syncFromControls();
            view->grab();
        }
    }
    ASSERT_GT(picture->scaledPicturesMade(), 0);
    ASSERT_FALSE(picture->opaqueArea().isEmpty());
    EXPECT_TRUE(view->grab().toImage() == blueAlone);

    viewer.setPicture(*translucent);
    view->syncFromControls();
    EXPECT_TRUE(picture->opaqueArea().isEmpty());
    EXPECT_TRUE(view->grab().toImage() == translucentAlone);
}

}  // namespace
