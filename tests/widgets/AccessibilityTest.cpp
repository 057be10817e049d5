// The window as a screen reader sees it: the controls as the window's children in the keyboard's
// order, their names, roles and states, the grid as a table of cells, and presses that go only
// where the mouse could go, through the form's own handlers.
#include <memory>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QTest>

#include "app/KeyboardRoles.h"
#include "tests/support/FormFixture.h"
#include "trainer/Marks.h"
#include "ui/widgets/Accessibility.h"
#include "ui/widgets/Announcer.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"

// What a screen reader is told reads as words where a check fails.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using widgets::FormAccessibility;
using widgets::FormView;
using widgets::KeyboardNavigation;

struct ToldEvent {
    QAccessible::Event type;
    QObject* object;
    QString name;  // of the interface it is about, when it has one
};

std::vector<ToldEvent>& toldEvents() {
    static std::vector<ToldEvent> events;
    return events;
}

void collectEvent(QAccessibleEvent* event) {
    QAccessibleInterface* about = event->accessibleInterface();
    toldEvents().push_back({event->type(), event->object(),
                            about != nullptr ? about->text(QAccessible::Name) : QString()});
}

// The started form in its window with the keyboard and a screen reader attached, which hears
// what the window tells it.
class ScreenReaderWindow : public FormFixture {
  protected:
    ScreenReaderWindow() {
        start();
        widgets::installAccessibility();
        view = std::make_unique<FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); });
        keys = new KeyboardNavigation(*view, keyboardRoles(form()));
        reader =
            new FormAccessibility(*view, *keys, keyboardRoles(form()), accessibleRoles(form()));
        // The offscreen platform has no accessibility bridge: the screen reader is this test.
        reader->listening = [this] { return listening; };
        reader->tell = collectEvent;
        view->resize(1280, 727);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        // What shows when the screen reader comes is read with the focus, not announced.
        view->syncFromControls();
        QCoreApplication::processEvents();
        toldEvents().clear();
    }
    ~ScreenReaderWindow() override { toldEvents().clear(); }

    QAccessibleInterface* window() { return QAccessible::queryAccessibleInterface(view.get()); }
    QAccessibleInterface* of(const ui::Control& control) {
        return QAccessible::queryAccessibleInterface(view->widgetFor(control));
    }
    QStringList childNames() {
        QStringList names;
        QAccessibleInterface* w = window();
        for (int i = 0; i < w->childCount(); ++i) {
            names.append(w->child(i)->object()->objectName());
        }
        return names;
    }
    void press(const ui::Control& control) {
        of(control)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    QAccessibleInterface* cell(int number) {
        return of(form().Panel1Viewer)
            ->tableInterface()
            ->cellAt((number - 1) / 10, (number - 1) % 10);
    }
    void pressCell(int number) {
        cell(number)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    bool told(QAccessible::Event type, const QObject* object) {
        return std::any_of(toldEvents().begin(), toldEvents().end(), [&](const ToldEvent& e) {
            return e.type == type && e.object == object;
        });
    }
    // What the announcer told since the last call, once the events of the moment are over.
    QStringList announced() {
        QCoreApplication::processEvents();
        QStringList news;
        for (const ToldEvent& e : toldEvents()) {
            if (e.type == QAccessible::ObjectShow && e.object == &reader->announcer()) {
                news.append(e.name);
            }
        }
        toldEvents().clear();
        return news;
    }
    QString answerSaid(bool wrong) {
        const RecentAnswer& a = form().RecentAnswers[form().Operation].back();
        return QStringLiteral("%1x%2=%3 %4")
            .arg(a.First)
            .arg(a.Second)
            .arg(a.Clicked)
            .arg(QString::fromUtf8(wrong ? "неверно" : "верно"));
    }
    void run(const std::function<void()>& handler) {
        form().dispatch(handler);
        view->syncFromControls();
    }

    std::unique_ptr<FormView> view;
    KeyboardNavigation* keys = nullptr;
    FormAccessibility* reader = nullptr;
    bool listening = true;
};

TEST_F(ScreenReaderWindow, TheControlsAreTheWindowsChildrenInTheKeyboardsOrder) {
    const QStringList children = childNames();
    // What Tab visits first, in its order; the difficulty bar under Button13 and Button14 is
    // offered, but not as showing; hidden controls are not offered.
    const QStringList walked = {
        "Button10",  "Button11",     "Button1",  "Button2",   "Button3",  "Button4",    "Button5",
        "Button6",   "Button7",      "Button8",  "Button9",   "Button12", "LookButton", "Button18",
        "ComboBox1", "Panel1Viewer", "Button13", "TrackBar3", "Button14", "Button15",   "Button17"};
    ASSERT_GE(children.size(), walked.size());
    EXPECT_EQ(children.mid(0, walked.size()), walked);
    for (const char* hidden :
         {"Button16", "TrackBar1", "TrackBar2", "Label7", "Label16", "Panel1"}) {
        EXPECT_FALSE(children.contains(QString::fromLatin1(hidden))) << hidden;
    }
    // The exercise column says nothing before the first answer.
    for (const char* shown : {"Label1", "Label4", "Label15", "ProgressBar1"}) {
        EXPECT_TRUE(children.contains(QString::fromLatin1(shown))) << shown;
    }
    // Every child knows its place, and its parent is the window.
    for (int i = 0; i < window()->childCount(); ++i) {
        EXPECT_EQ(window()->indexOfChild(window()->child(i)), i);
        EXPECT_EQ(window()->child(i)->parent(), window());
    }

    const struct {
        const ui::Control* control;
        QAccessible::Role role;
        QString name;
        bool showing;
    } expected[] = {
        {&form().Button12, QAccessible::Button, form().Button12.text(), true},
        {&form().Label4, QAccessible::StaticText, form().Label4.text(), true},
        {&form().TrackBar3, QAccessible::Slider, form().Label21.text(), false},
        {&form().Label21, QAccessible::StaticText, form().Label21.text(), false},
        {&form().ComboBox1, QAccessible::ComboBox, form().Label15.text(), true},
        // Hidden here, with no pupils attached, but named by its caption all the same.
        {&form().PupilBox, QAccessible::ComboBox, form().PupilLabel.text(), false},
        // The bars are named for what they show.
        {&form().ProgressBar1, QAccessible::ProgressBar, QStringLiteral("решено примеров"), true},
        {&form().ProgressBar2, QAccessible::ProgressBar, QStringLiteral("прошло времени"), true},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.control->name().toStdString());
        QAccessibleInterface* iface = of(*e.control);
        EXPECT_EQ(iface->role(), e.role);
        EXPECT_EQ(iface->text(QAccessible::Name), e.name);
        EXPECT_FALSE(e.name.isNull());
        EXPECT_EQ(!iface->state().invisible && !iface->state().offscreen, e.showing);
        EXPECT_FALSE(iface->state().disabled);
    }
    // The caption and its bar name each other.
    const auto captioned = of(form().TrackBar3)->relations(QAccessible::Label);
    ASSERT_EQ(captioned.size(), 1);
    EXPECT_EQ(captioned.front().first, of(form().Label21));
    EXPECT_EQ(of(form().ComboBox1)->text(QAccessible::Description), QStringLiteral("RUSSIAN"));
}

TEST_F(ScreenReaderWindow, TheApplicationListsTheWindowAndNotTheControlsWidgets) {
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    bool windowListed = false;
    for (int i = 0; i < application->childCount(); ++i) {
        QObject* object = application->child(i)->object();
        windowListed = windowListed || object == view.get();
        const auto* widget = qobject_cast<QWidget*>(object);
        EXPECT_FALSE(widget != nullptr && widget->graphicsProxyWidget() != nullptr)
            << object->objectName().toStdString();
    }
    EXPECT_TRUE(windowListed);
}

TEST_F(ScreenReaderWindow, NumberAndOperationButtonsSayWhetherTheyAreChosenAndAPressSaysTheChoice) {
    const std::vector<const ui::Button*> choices = {
        &form().Button1, &form().Button2,  &form().Button3, &form().Button4,
        &form().Button5, &form().Button6,  &form().Button7, &form().Button8,
        &form().Button9, &form().Button10, &form().Button11};
    const auto chosen = [&] {
        std::vector<const ui::Button*> checked;
        for (const ui::Button* button : choices) {
            QAccessibleInterface* choice = of(*button);
            EXPECT_EQ(choice->role(), QAccessible::RadioButton) << button->name().toStdString();
            EXPECT_TRUE(choice->state().checkable);
            if (choice->state().checked) {
                checked.push_back(button);
            }
        }
        return checked;
    };
    const auto stateTold = [&](const ui::Control& control) {
        return told(QAccessible::StateChanged, view->widgetFor(control));
    };
    EXPECT_EQ(of(form().Button12)->role(), QAccessible::Button);
    ASSERT_EQ(chosen(), (std::vector<const ui::Button*>{&form().Button2, &form().Button10}));

    struct Case {
        const ui::Button* pressed;
        std::vector<const ui::Button*> chosen;
        const ui::Button* unchosen;
        const char* said;
    };
    const Case cases[] = {
        {&form().Button5,
         {&form().Button5, &form().Button10},
         &form().Button2,
         "выбрано: Умножение на 5"},
        {&form().Button11,
         {&form().Button5, &form().Button11},
         &form().Button10,
         "выбрано: Деление на 5"},
        {&form().Button1,
         {&form().Button1, &form().Button11},
         &form().Button5,
         "выбрано: Деление Все"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        press(*c.pressed);
        EXPECT_EQ(chosen(), c.chosen);
        EXPECT_TRUE(stateTold(*c.pressed));
        EXPECT_TRUE(stateTold(*c.unchosen));
        EXPECT_EQ(announced(), QStringList{QString::fromUtf8(c.said)});
    }
    // A press on the choice already made changes nothing and says nothing.
    press(form().Button1);
    EXPECT_EQ(announced(), QStringList());

    // Multiplication's button keeps its pressed look from one press to the next, whatever the
    // choice; its press goes through the form.
    for (int i = 0; i < 2; ++i) {
        const bool before = form().Button10.pressed();
        press(form().Button10);
        EXPECT_EQ(form().Operation, 2);
        EXPECT_NE(form().Button10.pressed(), before);
        EXPECT_EQ(of(form().Button10)->state().pressed, form().Button10.pressed());
        EXPECT_TRUE(of(form().Button10)->state().checked);
    }

    // A run gives every number and operation button the selected look; the choice is still the
    // one made, and no button is told as changed. A run of one number the same.
    for (int i = 0; i < 100; ++i) {
        random.push(i * 7 % 10);
    }
    for (const ui::Button* number : {&form().Button1, &form().Button7}) {
        press(*number);
        announced();
        press(form().Button12);
        ASSERT_EQ(form().Button12.tag(), 1);
        ASSERT_TRUE(form().Button3.selected() && form().Button11.selected());
        EXPECT_EQ(chosen(), (std::vector<const ui::Button*>{number, &form().Button10}));
        for (const ui::Button* button : choices) {
            EXPECT_FALSE(stateTold(*button)) << button->name().toStdString();
        }
        press(form().Button12);
        EXPECT_EQ(chosen(), (std::vector<const ui::Button*>{number, &form().Button10}));
    }
}

TEST_F(ScreenReaderWindow, F2SaysTheTimeLeftToTheSecondDuringARunAndNothingElse) {
    const auto f2 = [this] {
        QTest::keyClick(view.get(), Qt::Key_F2);
        return announced();
    };
    // Before a run there is no time left to tell, and F2 moves nothing.
    QWidget* focused = view->focusedWidget();
    EXPECT_EQ(f2(), QStringList());
    EXPECT_EQ(view->focusedWidget(), focused);

    run([this] { form().TrackBar1.setValue(4); });
    press(form().Button12);
    ASSERT_EQ(form().Button12.tag(), 1);
    announced();
    struct Case {
        int elapsed;
        const char* said;
    };
    const Case cases[] = {{0, "осталось минут: 4"},
                          {55, "осталось минут: 3, секунд: 5"},
                          {60, "осталось минут: 3"},
                          {195, "осталось секунд: 45"},
                          {239, "осталось секунд: 1"}};
    for (const Case& c : cases) {
        while (form().ProgressBar2.value() < c.elapsed) {
            run([this] { form().Timer1.tick(); });
        }
        announced();
        EXPECT_EQ(f2(), QStringList{QString::fromUtf8(c.said)}) << c.elapsed;
        // The run goes on as it was: the key answers nothing.
        EXPECT_EQ(form().Button12.tag(), 1);
        EXPECT_EQ(form().ProgressBar2.value(), c.elapsed);
    }
    // No screen reader, no words.
    listening = false;
    EXPECT_EQ(f2(), QStringList());
}

TEST_F(ScreenReaderWindow, TheStatisticsSayEachExercisesErrorsTheAnswersPerNumberAndTypicalErrors) {
    ProgressRecord& progress = form().Progress;
    progress.ExerciseCount[2][7][8] = 12;
    progress.ExerciseCount[2][3][4] = 5;
    progress.ExerciseCount[3][7][8] = 4;
    const auto error = [](int first, int second, float weight, int answer) {
        Terror t;
        t.z1 = static_cast<std::uint8_t>(first);
        t.Z2 = static_cast<std::uint8_t>(second);
        t.error = weight;
        t.res = static_cast<std::uint8_t>(answer);
        return t;
    };
    form().ErrorLog = {Terror{}, error(7, 8, 2, 54), error(7, 8, 1, 58)};
    form().ErrorLogCount = 2;
    run([this] { form().Button14Click(); });
    ASSERT_EQ(form().Button14.tag(), 1);
    // The new table is told as one change, not cell by cell: Orca drops what comes beyond a
    // hundred events waiting, the news among them.
    QCoreApplication::processEvents();
    EXPECT_LT(toldEvents().size(), 50u);
    const QStringList entered = announced();
    ASSERT_EQ(entered.size(), 1);
    const QString list = QString::fromUtf8(
        "Кол-во примеров: 2 - 0, 3 - 5, 4 - 0, 5 - 0, 6 - 0, 7 - 12, 8 - 0, 9 - 0. "
        "Типичиные ошибки: 7x8=54");
    EXPECT_TRUE(entered.front().endsWith(list)) << entered.front().toStdString();
    EXPECT_EQ(of(form().Panel3Viewer)->text(QAccessible::Name), list);

    QAccessibleInterface* table = of(form().Panel1Viewer);
    ASSERT_EQ(table->childCount(), 90);
    struct Case {
        int row, column;
        const char* said;
    };
    const Case cases[] = {
        {7, 8, "7 x 8: неверно 3 из 12"},       {3, 4, "3 x 4: неверно 0 из 5"},
        {9, 10, "9 x 10: ответов ещё не было"}, {7, 1, "7 x"},  // the row's heading
        {1, 4, "множимое, множитель"},                          // the band above
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table->tableInterface()->cellAt(c.row - 1, c.column - 1)->text(QAccessible::Name),
                  QString::fromUtf8(c.said));
    }
    // The table taken by Tab says its focus cell: Orca says nothing of a table without a name.
    toldEvents().clear();
    view->widgetFor(form().Panel1Viewer)->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_NE(table->focusChild(), nullptr);
    ASSERT_FALSE(toldEvents().empty());
    EXPECT_EQ(toldEvents().back().type, QAccessible::Focus);
    EXPECT_EQ(toldEvents().back().name, table->focusChild()->text(QAccessible::Name));

    // Division reads its own exercises: 56 : 7 sits in row 7, column 7.
    form().ErrorLog = {Terror{}};
    form().ErrorLogCount = 0;
    run([this] { form().Button11Click(); });
    ASSERT_EQ(form().Operation, 3);
    EXPECT_EQ(table->tableInterface()->cellAt(6, 6)->text(QAccessible::Name),
              QString::fromUtf8("56 : 7: неверно 0 из 4"));

    // The reset asks first: its question is told while the focus stays on the reset button.
    announced();
    view->widgetFor(form().Button16)->setFocus(Qt::TabFocusReason);
    announced();
    press(form().Button16);
    EXPECT_EQ(announced(), QStringList{form().Label17.text()});
    EXPECT_EQ(view->focusedWidget(), view->widgetFor(form().Button16));
    EXPECT_EQ(form().Progress.ExerciseCount[3][7][8], 4);
}

TEST_F(ScreenReaderWindow, HiddenAndCoveredControlsAreNotPressed) {
    press(form().Button12);  // Start
    ASSERT_EQ(form().Button12.tag(), 1);
    // The help button is hidden during a run: not offered, and a press on it does nothing.
    ASSERT_FALSE(form().Button18.visible());
    EXPECT_FALSE(childNames().contains(QStringLiteral("Button18")));
    const unsigned table = form().Panel1Viewer.pictureVersion();
    press(form().Button18);
    EXPECT_EQ(form().Panel1Viewer.pictureVersion(), table);
    EXPECT_FALSE(form().Button18.visible());
    EXPECT_EQ(form().Button12.tag(), 1);

    // The run settings are shown but cannot be moved during a run.
    QAccessibleInterface* count = of(form().TrackBar2);
    EXPECT_TRUE(count->state().disabled);
    const double exercises = form().TrackBar2.value();
    count->valueInterface()->setCurrentValue(exercises + 5);
    EXPECT_EQ(form().TrackBar2.value(), exercises);
    press(form().Button12);  // Stop

    // Outside the game the difficulty bar lies under Button13 and Button14: offered, not
    // showing, and not to be moved.
    QAccessibleInterface* difficulty = of(form().TrackBar3);
    EXPECT_TRUE(difficulty->state().offscreen);
    const double level = form().TrackBar3.value();
    difficulty->valueInterface()->setCurrentValue(level == 5 ? 6 : 5);
    EXPECT_EQ(form().TrackBar3.value(), level);

    run([this] { form().Button15Click(); });
    // In the game it is uncovered, and set through its slider.
    EXPECT_FALSE(difficulty->state().offscreen);
    difficulty->valueInterface()->setCurrentValue(5);
    EXPECT_EQ(form().TrackBar3.value(), 5);
    EXPECT_EQ(form().TrackBar3.tag(), 5);
}

TEST_F(ScreenReaderWindow, TheAnswerTableIsATableOfNumbersAnsweredThroughItsCells) {
    QAccessibleInterface* grid = of(form().Panel1Viewer);
    // Before Start the viewer shows the title page, read as its words; it is a table all along,
    // as a screen reader keeps the role it met first.
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->childCount(), 0);
    EXPECT_TRUE(grid->text(QAccessible::Name).contains(form().uiText(35).simplified()));

    press(form().Button12);
    ASSERT_EQ(grid->role(), QAccessible::Table);
    ASSERT_NE(grid->tableInterface(), nullptr);
    EXPECT_EQ(grid->childCount(), 90);
    EXPECT_EQ(grid->tableInterface()->rowCount(), 9);
    // The new table is told by its new name, not as reordered children: Qt's bridge sends a
    // reorder as one malformed signal per cell, which AT-SPI clients drop.
    EXPECT_TRUE(told(QAccessible::NameChanged, view->widgetFor(form().Panel1Viewer)));
    EXPECT_FALSE(std::any_of(toldEvents().begin(), toldEvents().end(), [](const ToldEvent& e) {
        return e.type == QAccessible::ObjectReorder;
    }));
    EXPECT_EQ(announced(), QStringList{form().Label7.text()});
    QAccessibleInterface* fiftySix = cell(56);
    EXPECT_EQ(fiftySix->text(QAccessible::Name), QStringLiteral("56"));
    EXPECT_EQ(fiftySix->tableCellInterface()->rowIndex(), 5);
    EXPECT_EQ(fiftySix->tableCellInterface()->columnIndex(), 5);
    EXPECT_EQ(fiftySix->parent(), grid);
    EXPECT_EQ(grid->indexOfChild(fiftySix), 55);
    // The cell lies where the window shows it.
    EXPECT_TRUE(fiftySix->rect().contains(view->mapToGlobal(
        view->mapFromDesign(QPointF(416, 87) + QPointF(5.5 * 78.3, 5.5 * 70.2)).toPoint())));

    // An answer given through a cell is taken as a press there, and told with the next exercise.
    const int answer = form().ExpectedAnswer;
    pressCell(answer);
    ASSERT_EQ(form().RecentAnswers[form().Operation].size(), 1u);
    EXPECT_EQ(form().RecentAnswers[form().Operation].back().Clicked, answer);
    EXPECT_FALSE(form().RecentAnswers[form().Operation].back().Wrong);
    EXPECT_EQ(announced(),
              QStringList{answerSaid(false) + QStringLiteral(". ") + form().Label7.text()});
    // The exercise column says how it went.
    QAccessibleInterface* column = of(form().Panel3Viewer);
    const RecentAnswer& taken = form().RecentAnswers[form().Operation].back();
    EXPECT_TRUE(
        column->text(QAccessible::Name)
            .startsWith(QStringLiteral("%1x%2=%3").arg(taken.First).arg(taken.Second).arg(answer)));
    EXPECT_EQ(of(form().ProgressBar1)->valueInterface()->currentValue().toDouble(), 1.0);
    EXPECT_EQ(of(form().ProgressBar1)->text(QAccessible::Name), QStringLiteral("решено примеров"));

    // The pressed cell is the focus cell, and the focused child of the focused table.
    EXPECT_EQ(keys->focusCell(), (widgets::GridCell{(answer - 1) % 10 + 1, (answer - 1) / 10 + 1}));
    view->widgetFor(form().Panel1Viewer)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(grid->focusChild(), cell(answer));
    EXPECT_TRUE(cell(answer)->state().focused);
    EXPECT_FALSE(cell(answer == 1 ? 2 : 1)->state().focused);
    toldEvents().clear();
    QTest::keyClick(view->windowHandle(), Qt::Key_Right);
    ASSERT_FALSE(toldEvents().empty());
    EXPECT_EQ(toldEvents().back().type, QAccessible::Focus);
    EXPECT_EQ(toldEvents().back().name, grid->focusChild()->text(QAccessible::Name));
}

TEST_F(ScreenReaderWindow, AWrongAnswerInErrorCorrectionIsToldWithTheSign) {
    // One wrong answer gives error correction an exercise to ask.
    press(form().Button12);
    pressCell(form().ExpectedAnswer == 1 ? 2 : form().ExpectedAnswer - 1);
    press(form().Button12);
    press(form().Button13);
    press(form().Button12);
    ASSERT_EQ(form().NumberMode, 2);
    const QString exercise = form().Label7.text();

    announced();
    // Told each time, with the exercise that stays.
    for (int attempt = 0; attempt < 2; ++attempt) {
        pressCell(form().ExpectedAnswer == 1 ? 2 : form().ExpectedAnswer - 1);
        ASSERT_TRUE(form().Label16.visible());
        EXPECT_EQ(announced(),
                  QStringList{QStringLiteral("неверно, ? - этот пример ещё раз. ") + exercise});
    }
    // The right answer ends error correction, and the window is back on the number chosen.
    pressCell(form().ExpectedAnswer);
    EXPECT_EQ(announced(), QStringList{answerSaid(false) + QStringLiteral(". выбрано: ") +
                                       form().Label4.text() + ' ' + form().Label1.text()});
}

TEST_F(ScreenReaderWindow, ARunIsHeardToItsMarkAndTimeUpIsTold) {
    run([this] { form().TrackBar2.setValue(10); });
    press(form().Button12);
    ASSERT_EQ(announced(), QStringList{form().Label7.text()});
    for (int i = 1; i <= 10; ++i) {
        const bool wrong = i == 4;
        pressCell(wrong ? form().ExpectedAnswer % 90 + 1 : form().ExpectedAnswer);
        const QStringList news = announced();
        ASSERT_EQ(news.size(), 1);
        const QString next =
            i < 10 ? form().Label7.text()
                   : QStringLiteral("оценка ") + QString::number(trainer::runMark(10, 1, 10));
        EXPECT_EQ(news.front(), answerSaid(wrong) + QStringLiteral(". ") + next) << i;
    }

    // The time left at each whole minute and 10 seconds before the end, then the time up.
    press(form().Button12);
    announced();
    const int seconds = static_cast<int>(form().ProgressBar2.maximum());
    QStringList heard;
    for (int tick = 0; tick <= seconds && form().Button12.tag() == 1; ++tick) {
        run([this] { form().Timer1.tick(); });
        heard.append(announced());
    }
    QStringList expected;
    for (int minutes = seconds / 60 - 1; minutes >= 1; --minutes) {
        expected.append(QStringLiteral("осталось минут: %1").arg(minutes));
    }
    expected.append(QStringLiteral("осталось секунд: 10"));
    expected.append(form().uiText(15));
    EXPECT_EQ(heard, expected);
}

TEST_F(ScreenReaderWindow, AHelpPageIsReadWhenShown) {
    press(form().Button18);
    const QStringList news = announced();
    ASSERT_EQ(news.size(), 1);
    EXPECT_EQ(news.front(), of(form().Panel1Viewer)->text(QAccessible::Name).replace('\n', ' '));
    EXPECT_FALSE(news.front().isEmpty());
}

TEST_F(ScreenReaderWindow, TheGameTellsEachMoveTheProgramsMoveAndEachLevelsEnd) {
    run([this] { form().Button15Click(); });
    press(form().Button12);
    ASSERT_EQ(form().Button12.tag(), 1);
    // The program's move, and the points of both sides, as the level starts.
    const QStringList start = announced();
    ASSERT_EQ(start.size(), 1);
    EXPECT_TRUE(start.front().contains(
        QStringLiteral("Программа: найдено троек - %1").arg(form().ProgramTripleCount)));
    EXPECT_TRUE(start.front().contains(form().Label9.text()));
    EXPECT_TRUE(start.front().contains(form().Label5.text()));

    // 7 and 8 side by side in row 5, and their product next to them: cells 44, 45 and 46.
    const int values[] = {7, 8, 56};
    for (int i = 0; i < 3; ++i) {
        form().Board[5][4 + i] = {static_cast<std::uint8_t>(values[i]), 0};
    }
    QAccessibleInterface* seven = cell(44);
    EXPECT_EQ(seven->text(QAccessible::Description), QString());
    struct Step {
        int cell;
        const char* said;
    };
    const Step steps[] = {
        {44, "выбрано: 7"},
        {45, "выбрано: 7, 8"},
        {45, "выбор снят: 8. выбрано: 7"},
        {44, "выбор снят: 7"},
        {45, "выбрано: 8"},
        {44, "выбрано: 7, 8"},
        {46, "тройка 7 x 8 = 56, баллов: 56"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.said);
        toldEvents().clear();
        pressCell(step.cell);
        QString said = QString::fromUtf8(step.said);
        // The pupil's points show beside, and are told with the triple.
        if (form().Label5.tag() > 0) {
            said += QStringLiteral(". ") + form().Label5.text();
        }
        EXPECT_EQ(announced(), QStringList{said});
    }
    EXPECT_EQ(seven->text(QAccessible::Description), QStringLiteral("найдено"));

    // The level's end, with both sides' points, and the charts as sentences.
    QStringList heard;
    while (form().Button12.tag() == 1) {
        run([this] { form().Timer1.tick(); });
        heard.append(announced());
    }
    const QString level1 = QStringLiteral("Уровень 1: Программа - %1, Мои баллы - 56")
                               .arg(form().LevelScores[1].ProgramPoints);
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.back(),
              form().uiText(15) + QStringLiteral(". ") + level1 + QStringLiteral(". Уровень 2"));
    EXPECT_EQ(of(form().Panel3Viewer)->text(QAccessible::Name), level1);
    EXPECT_EQ(of(form().Panel2Viewer)->text(QAccessible::Name),
              QStringLiteral("Общий итог: Программа - %1, Мои баллы - 56")
                  .arg(form().LevelScores[1].ProgramPoints));
}

TEST_F(ScreenReaderWindow, TheRulesExampleIsDescribedInWords) {
    run([this] { form().Button15Click(); });
    press(form().Button16);
    const QStringList news = announced();
    ASSERT_EQ(news.size(), 1);
    EXPECT_TRUE(news.front().endsWith(QString::fromUtf8(
        "Пример, три ряда поля: 10, 25, 30, 5, 6, 4, 32, 72, 11, 55; "
        "10, 5, 12, 1, 7, 9, 2, 1, 8, 29; 100, 43, 42, 8, 3, 9, 27, 14, 27, 9 "
        "найденные тройки выделены белым: 10 x 10 = 100; 5 x 6 = 30; 3 x 9 = 27; 8 x 9 = 72")))
        << news.front().toStdString();
}

TEST_F(ScreenReaderWindow, AWidgetAskedAboutWhileTheWindowGoesHasNoWindow) {
    const std::vector<ui::Control*>& controls = view->controls();
    QWidget* first = view->widgetFor(*controls.front());
    QAccessibleInterface* last = of(*controls.back());
    ASSERT_NE(last->parent(), nullptr);
    bool asked = false;
    QObject::connect(first, &QObject::destroyed, [&] {
        asked = true;
        EXPECT_FALSE(last->isValid());
        EXPECT_EQ(last->parent(), nullptr);
    });
    view.reset();
    EXPECT_TRUE(asked);
}

TEST_F(ScreenReaderWindow, NothingIsToldWhileNoScreenReaderListens) {
    listening = false;
    press(form().Button12);
    pressCell(form().ExpectedAnswer);
    EXPECT_TRUE(toldEvents().empty());
}

}  // namespace
