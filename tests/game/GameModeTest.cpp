#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "game/BoardGeneration.h"
#include "tests/game/BoardText.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kTomato = 0xFFFF6347;
constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;

// Colours equal but for the last bit a fill with a part-covered edge may lose.
bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1 && qAlpha(a) == qAlpha(b);
}

struct Cell {
    int row;
    int column;
};

// Two factors and their product, in the order the pupil presses them.
using Triple = std::array<Cell, 3>;

// A free triple of the board, if there is one.
std::optional<Triple> findTriple(const game::Board& board) {
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            for (const game::Direction d : game::kDirections) {
                if (!game::lineFits(r, c, d)) {
                    continue;
                }
                const Cell product{r, c};
                const Cell first{r + d.rowStep, c + d.columnStep};
                const Cell second{r + 2 * d.rowStep, c + 2 * d.columnStep};
                const auto& p = board[r][c];
                const auto& a = board[first.row][first.column];
                const auto& b = board[second.row][second.column];
                if (p.Mark == 0 && a.Mark == 0 && b.Mark == 0 && a.Value * b.Value == p.Value) {
                    return Triple{first, second, product};
                }
            }
        }
    }
    return std::nullopt;
}

class GameTest : public FormFixture {
  protected:
    bool levelRunning() { return form().Button12.tag() == 1; }

    // A press and release in the middle of a cell of the board as it is shown, at 0.99 of its size.
    void pressCell(Cell cell) {
        TForm3& f = form();
        const double x = ((cell.column - 1) * f.GridCellWidth + f.GridCellWidth / 2.0) * 0.99;
        const double y = ((cell.row - 1) * f.GridCellHeight + f.GridCellHeight / 2.0) * 0.99;
        f.ImageViewer1MouseDown(x, y);
        f.ImageViewer1MouseUp(x, y);
    }

    // Finds a triple on the board and presses it; returns its product.
    int playTriple() {
        const std::optional<Triple> triple = findTriple(form().Board);
        if (!triple) {
            ADD_FAILURE() << "the board holds no triple";
            return 0;
        }
        for (const Cell& cell : *triple) {
            pressCell(cell);
        }
        return form().Board[(*triple)[2].row][(*triple)[2].column].Value;
    }

    // Lets the clock run out; returns the ticks it took.
    int runOutOfTime() {
        int ticks = 0;
        while (levelRunning() && ticks < 1000) {
            form().Timer1.tick();
            ++ticks;
        }
        return ticks;
    }

    // A bar of the totals chart runs from its base line 10 above the bottom edge to total x
    // 450 / 8000 above the edge: upward for a large total, downward for a small one.
    void expectBar(const QImage& totals, int x, int total, QRgb colour) {
        const double end = 450 - total * 450.0 / 8000;
        std::vector<int> rows;
        for (int y = 70; y < totals.height(); ++y) {
            if (near(totals.pixel(x, y), colour)) {
                rows.push_back(y);
            }
        }
        ASSERT_FALSE(rows.empty()) << total;
        EXPECT_NEAR(rows.front(), std::min(440.0, end), 1) << total;
        EXPECT_NEAR(rows.back() + 1, std::max(440.0, end), 1) << total;
    }

    // Whether the colour is anywhere in columns left..right below the chart's legend.
    bool anyPixelOf(const QImage& picture, int left, int right, QRgb colour) {
        for (int y = 70; y < picture.height(); ++y) {
            for (int x = left; x <= right; ++x) {
                if (near(picture.pixel(x, y), colour)) {
                    return true;
                }
            }
        }
        return false;
    }
};

// Games on boards drawn from a long run of scripted draws.
class GameMode : public GameTest {
  protected:
    GameMode() {
        for (int i = 0; i < 997; ++i) {
            random.push(i * 37 % 101);
        }
        start();
    }
};

TEST_F(GameMode, EnteringShowsTheGameControlsInPlaceOfTheTrainersAndANewGame) {
    TForm3& f = form();
    // A game left after a level: its chart and its totals are not empty.
    f.Button15Click();
    f.Button12Click();
    playTriple();
    f.Button12Click();
    const QImage played = f.Panel3Viewer.picture();
    ASSERT_TRUE(anyPixelOf(played, 0, played.width() - 1, kDeepSkyBlue));
    ASSERT_TRUE(anyPixelOf(played, 0, played.width() - 1, kTomato));
    f.Button15Click();

    f.Button15Click();
    EXPECT_EQ(f.Button15.tag(), 1);
    EXPECT_EQ(f.Button15.text(), QString::fromUtf8("Выход-Игра"));
    EXPECT_EQ(f.Button15.fontSize(), 20);
    EXPECT_EQ(f.Label10.text(), QString::fromUtf8("Уровень  1"));
    EXPECT_TRUE(f.Label10.visible());
    EXPECT_TRUE(f.Label11.visible());
    EXPECT_TRUE(f.Panel2Viewer.visible());
    EXPECT_FALSE(f.Panel4.visible());
    EXPECT_TRUE(f.Button16.visible());
    EXPECT_EQ(f.Button16.text(), QString::fromUtf8("Справка"));
    for (const ui::Button* b :
         {&f.Button1, &f.Button9, &f.Button10, &f.Button11, &f.Button13, &f.Button14}) {
        EXPECT_FALSE(b->visible()) << b->name().toStdString();
    }
    for (const ui::Control* c : std::initializer_list<const ui::Control*>{
             &f.TrackBar1, &f.TrackBar2, &f.Label6, &f.Label8, &f.ComboBox1, &f.Button18, &f.Label5,
             &f.Label9, &f.Label14}) {
        EXPECT_FALSE(c->visible()) << c->name().toStdString();
    }
    EXPECT_TRUE(f.TrackBar3.enabled());
    EXPECT_TRUE(f.Label1.text().isEmpty());
    EXPECT_TRUE(f.Label4.text().isEmpty());
    EXPECT_EQ(f.GameLevel, 1);
    // An empty level chart, and totals of 0: two stubs below the base line.
    const QImage chart = f.Panel3Viewer.picture();
    EXPECT_EQ(chart.pixel(14, 200), 0xFF000000) << "the level chart's ground, between its lines";
    EXPECT_FALSE(anyPixelOf(chart, 0, chart.width() - 1, kDeepSkyBlue));
    EXPECT_FALSE(anyPixelOf(chart, 0, chart.width() - 1, kTomato));
    EXPECT_EQ(f.Panel2Viewer.picture().pixel(35, 445), kDeepSkyBlue);
    EXPECT_EQ(f.Panel2Viewer.picture().pixel(15, 445), kTomato);
}

TEST_F(GameMode, TheGameButtonDoesNothingDuringAnExerciseRun) {
    TForm3& f = form();
    f.Button12Click();
    f.Button15Click();
    EXPECT_EQ(f.Button15.tag(), 0);
    EXPECT_TRUE(f.Button1.visible());
    EXPECT_EQ(f.Button15.text(), QString::fromUtf8("Игра"));
}

TEST_F(GameMode, ALevelStartsWithTheProgramsScoreAndTheTimeItGives) {
    TForm3& f = form();
    f.Button15Click();
    f.Button12Click();
    EXPECT_TRUE(levelRunning());
    EXPECT_TRUE(f.Timer1.enabled());
    EXPECT_FALSE(f.Button16.visible());
    EXPECT_FALSE(f.TrackBar3.enabled());
    EXPECT_EQ(f.LevelScores[1].ProgramPoints, f.ProgramLevelPoints);
    EXPECT_EQ(f.Label9.text(),
              QString::fromUtf8("Программа - ") + QString::number(f.ProgramLevelPoints));
    EXPECT_EQ(f.Label5.text(), QString::fromUtf8("Мои баллы - 0"));
    EXPECT_TRUE(f.Label5.visible() && f.Label9.visible());
    EXPECT_EQ(f.Label8.text(), QString::number(f.ProgramTripleCount));
    const int levelTime = std::clamp(f.ProgramTripleCount / 2, 1, 10);
    EXPECT_EQ(f.TrackBar1.value(), levelTime);
    EXPECT_EQ(f.Label6.text(), QString::number(levelTime));
    EXPECT_EQ(f.ProgressBar2.maximum(), levelTime * 40);
    // The program's triples are not shown: every cell is free.
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            ASSERT_EQ(f.Board[r][c].Mark, 0);
        }
    }
    EXPECT_EQ(runOutOfTime(), levelTime * 40 + 1);
}

TEST_F(GameMode, AFoundTripleScoresAndTheLeadShowsOnceThePupilIsLevel) {
    TForm3& f = form();
    f.Button15Click();
    f.Button12Click();
    int points = 0;
    while (points < f.ProgramLevelPoints || points == 0) {
        const int product = playTriple();
        ASSERT_GT(product, 0);
        points += product;
        EXPECT_EQ(f.Label5.tag(), points);
        QString expected = QString::fromUtf8("Мои баллы - ") + QString::number(points);
        if (points >= f.ProgramLevelPoints) {
            expected += "   +" + QString::number(points - f.ProgramLevelPoints);
        }
        EXPECT_EQ(f.Label5.text(), expected);
    }

    // A press after the level has ended changes nothing, nor does a release.
    f.Button12Click();
    const game::Board board = f.Board;
    const unsigned version = f.Panel1Viewer.pictureVersion();
    pressCell({1, 1});
    EXPECT_EQ(f.Board, board);
    EXPECT_EQ(f.Panel1Viewer.pictureVersion(), version);
    EXPECT_EQ(f.LevelScores[1].PupilPoints, points);
}

TEST_F(GameMode, APressSelectsTheCellShownUnderItAndOneBesideTheBoardNone) {
    TForm3& f = form();
    f.Button15Click();
    f.Button12Click();
    // Column 10 is drawn from (9 x 78 + 3) x 0.99 = 697.95 and row 9 from (8 x 70 + 2) x 0.99 =
    // 556.38; dividing by the viewer's full size would give column 9 and row 8 there.
    f.ImageViewer1MouseDown(699, 558);
    EXPECT_EQ(f.Board[9][10].Mark, game::kMarkSelected);
    EXPECT_EQ(f.SelectionCount, 1);
    f.ImageViewer1MouseDown(699, 558);
    EXPECT_EQ(f.SelectionCount, 0);

    const game::Board board = f.Board;
    const unsigned version = f.Panel1Viewer.pictureVersion();
    for (const QPointF at : {QPointF(f.Panel1ViewerWidth * 0.995, 100),
                             QPointF(100, f.Panel1ViewerHeight - 2), QPointF(-1, 100)}) {
        f.ImageViewer1MouseDown(at.x(), at.y());
        EXPECT_EQ(f.Board, board) << at.x() << "," << at.y();
        EXPECT_EQ(f.Panel1Viewer.pictureVersion(), version);
    }
}

TEST_F(GameMode, TenLevelsMakeAGameAndTheNextStartBeginsANewOne) {
    TForm3& f = form();
    f.Button15Click();
    int programTotal = 0;
    int pupilTotal = 0;
    int firstLevelPoints = 0;
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE(level);
        ASSERT_EQ(f.GameLevel, level);
        f.Button12Click();
        ASSERT_TRUE(levelRunning());
        const int pupil = level <= 2 ? playTriple() : 0;
        if (level == 1) {
            firstLevelPoints = pupil;
        }
        if (level % 2 == 1) {
            f.Button12Click();  // Stop
        } else {
            runOutOfTime();
            if (level < 10) {
                EXPECT_TRUE(f.Label14.visible());
                EXPECT_EQ(f.Label14.text(), QString::fromUtf8("Время истекло"));
            }
        }
        ASSERT_FALSE(levelRunning());
        EXPECT_FALSE(f.Timer1.enabled());
        EXPECT_EQ(f.LevelScores[level].PupilPoints, pupil);
        programTotal += f.ProgramLevelPoints;
        pupilTotal += pupil;
        if (level < 10) {
            EXPECT_EQ(f.ProgramTotal, programTotal);
            EXPECT_EQ(f.PupilTotal, pupilTotal);
            EXPECT_EQ(f.Label10.text(), QString::fromUtf8("Уровень ") + QString::number(level + 1));
            EXPECT_FALSE(f.TrackBar3.enabled());
        }
        if (level == 3) {
            // The chart draws the three levels played and nothing to their right.
            const QImage chart = f.Panel3Viewer.picture();
            const int cw = 28;
            for (const QRgb colour : {kDeepSkyBlue, kTomato}) {
                EXPECT_TRUE(anyPixelOf(chart, 1, cw - 1, colour));
                EXPECT_TRUE(anyPixelOf(chart, 2 * cw + 1, 3 * cw - 1, colour));
                EXPECT_FALSE(anyPixelOf(chart, 3 * cw + 2, 9 * cw, colour));
            }
            expectBar(f.Panel2Viewer.picture(), 15, programTotal, kTomato);
            expectBar(f.Panel2Viewer.picture(), 35, pupilTotal, kDeepSkyBlue);
        }
    }
    // The game is over: the chart still shows it, the next game waits at level 1.
    EXPECT_EQ(f.Label14.text(), QString::fromUtf8("Новая игра"));
    EXPECT_EQ(f.Label14.fontColor(), kRed);
    EXPECT_TRUE(f.Label14.visible());
    EXPECT_EQ(f.GameLevel, 1);
    EXPECT_EQ(f.Label10.text(), QString::fromUtf8("Уровень 1"));
    EXPECT_EQ(f.ProgramTotal, 0);
    EXPECT_EQ(f.PupilTotal, 0);
    EXPECT_TRUE(f.TrackBar3.enabled());
    for (int level = 1; level <= 10; ++level) {
        EXPECT_EQ(f.LevelScores[level].ProgramPoints, 0);
    }
    EXPECT_EQ(f.LevelScores[1].PupilPoints, firstLevelPoints);
    EXPECT_TRUE(anyPixelOf(f.Panel3Viewer.picture(), 9 * 28 + 2, 279, kTomato));

    f.Button12Click();
    EXPECT_FALSE(f.Label14.visible());
    EXPECT_FALSE(f.TrackBar3.enabled());
    EXPECT_EQ(f.LevelScores[1].ProgramPoints, f.ProgramLevelPoints);
    EXPECT_FALSE(anyPixelOf(f.Panel3Viewer.picture(), 2, 279, kTomato));
}

TEST_F(GameMode, LeavingDuringALevelAbandonsItAndGivesTheTrainerItsSettingsBack) {
    TForm3& f = form();
    f.TrackBar1.setValue(4);
    f.TrackBar2.setValue(30);
    f.Button15Click();
    f.Button12Click();
    ASSERT_TRUE(levelRunning());
    f.Button15Click();

    EXPECT_EQ(f.Button15.tag(), 0);
    EXPECT_FALSE(levelRunning());
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_EQ(f.LevelScores[1].PupilPoints, 0);
    EXPECT_EQ(f.PupilTotal, 0);
    EXPECT_EQ(f.ProgramTotal, 0);
    EXPECT_EQ(f.TrackBar1.value(), 4);
    EXPECT_EQ(f.TrackBar2.value(), 30);
    EXPECT_EQ(f.Label6.text(), "4");
    EXPECT_EQ(f.Label8.text(), "30");
    EXPECT_EQ(f.ProgressBar2.maximum(), 240);
    EXPECT_EQ(f.Progress.TimeSetting, 4);
    EXPECT_EQ(f.Progress.CountSetting, 30);
    EXPECT_TRUE(f.TrackBar1.enabled() && f.TrackBar1.visible());
    EXPECT_EQ(f.Button15.text(), QString::fromUtf8("Игра"));
    EXPECT_EQ(f.Button15.fontSize(), 26);
    EXPECT_FALSE(f.Button16.visible());
    EXPECT_FALSE(f.Panel2Viewer.visible());
    EXPECT_TRUE(f.Panel4.visible());
    EXPECT_FALSE(f.Label11.visible());
    EXPECT_TRUE(f.Button1.visible() && f.Button14.visible());
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("на 2"));
    EXPECT_FALSE(f.Label9.visible() || f.Label5.visible());

    // A trainer run now has the pupil's own count of exercises.
    f.Button12Click();
    EXPECT_EQ(f.ExercisesInRun, 30);
}

TEST_F(GameMode, AGameEnteredFromErrorCorrectionGivesBackThePupilsOwnSettings) {
    TForm3& f = form();
    f.Button1.click();
    f.TrackBar1.setValue(4);
    f.TrackBar2.setValue(30);
    f.CurrentErrors[2].assign(5, Ter{6, 7});
    f.Button13.click();
    ASSERT_EQ(f.Button13.tag(), 1);
    ASSERT_EQ(f.TrackBar1.value(), 3) << "error correction's own time is on the bar";

    f.Button15Click();
    f.Button12Click();
    f.Button12Click();
    f.Button15Click();
    EXPECT_EQ(f.Button13.tag(), 0);
    EXPECT_EQ(f.TrackBar1.value(), 4);
    EXPECT_EQ(f.TrackBar2.value(), 30);
    EXPECT_EQ(f.Label6.text(), "4");
    EXPECT_EQ(f.Label8.text(), "30");
    EXPECT_EQ(f.Progress.TimeSetting, 4);
    EXPECT_EQ(f.Progress.CountSetting, 30);
    EXPECT_EQ(f.NumberMode, 1);

    // The bars are the pupil's settings again.
    f.TrackBar1.setValue(6);
    EXPECT_EQ(f.Label6.text(), "6");
    EXPECT_EQ(f.Progress.TimeSetting, 6);
}

TEST_F(GameMode, ALevelEndedInAGameEnteredFromErrorCorrectionLeavesTheModeAsItWas) {
    // Found by the event storm: one wrong answer, all numbers, error correction, then a game
    // level started and stopped. The level's end gave back error correction's number choice
    // while the mode stayed on.
    TForm3& f = form();
    f.Button12.click();
    const QPointF wrong = cellCentre(f, wrongAnswer(f));
    f.Panel1Viewer.onMouseDown(wrong.x(), wrong.y());
    f.Button12.click();
    f.Button1.click();
    f.Button13.click();
    ASSERT_EQ(f.Button13.tag(), 1);
    f.Button15.click();
    f.Button12.click();
    f.Button12.click();

    EXPECT_EQ(f.Button13.tag(), 1);
    EXPECT_EQ(f.NumberMode, 2);
    f.Button15.click();
    EXPECT_EQ(f.Button13.tag(), 0);
    EXPECT_EQ(f.NumberMode, 1);
}

TEST_F(GameMode, TheGamesCaptionsFollowTheLanguageChosenBeforeIt) {
    const struct {
        int item;
        const char* button;
        const char* level;
        const char* results;
        const char* range;
        const char* program;
    } cases[] = {
        {0, "Выход-Игра", "Уровень  1", "Результаты игры", "числа  1-7", "Программа - "},
        {1, "Out of Game", "Level  1", "The results of the game", "number  1-7", "Programme - "},
        {2, "Out of Game", "Level  1", "The results of the game", "number  1-7", "Program - "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        FormFixture::form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        TForm3& f = start();
        f.ComboBox1.setItemIndex(c.item);
        f.Button15Click();
        EXPECT_EQ(f.Button15.text(), QString::fromUtf8(c.button));
        EXPECT_EQ(f.Label10.text(), QString::fromUtf8(c.level));
        EXPECT_EQ(f.Label11.text(), QString::fromUtf8(c.results));
        EXPECT_EQ(f.Label22.text(), QString::fromUtf8(c.range));
        f.Button12Click();
        EXPECT_TRUE(f.Label9.text().startsWith(QString::fromUtf8(c.program)));
    }
}

// Games whose every level is played on one board written out here: the scripted draws give each
// cell its number, and the only cells planted are those of 100, each as the product of the two 10s
// up and to the left of it (the last of its lines, so the one a planted cell takes).
class GameOnAKnownBoard : public GameTest {
  protected:
    GameOnAKnownBoard() { start(); }

    // Enters game mode with numbers up to 10; every level's board is then the one given, since the
    // scripted draws repeat and a board takes 180 of them.
    void playOn(const game::Board& board) {
        form().Button15Click();
        form().TrackBar3.setValue(10);
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                const int value = board[r][c].Value;
                random.push(value == 100 ? 0 : value - 1);
            }
        }
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                random.push(board[r][c].Value == 100 ? 0 : 1);
            }
        }
        board_ = board;
    }

    void startLevel() {
        form().Button12Click();
        ASSERT_TRUE(levelRunning());
        ASSERT_EQ(form().Board, board_) << "the level is played on the board written";
    }

    game::Board board_;
};

// Nine triples 10, 10, 100 apart from each other; "." is 2, which is no product on this board.
// clang-format off
const std::array<const char*, 9> kNineHundreds = {
    "10  .   .   10  .   .   10  .   .   .",
    ".   10  .   .   10  .   .   10  .   .",
    ".   .   100 .   .   100 .   .   100 .",
    ".   10  .   .   10  .   .   10  .   .",
    ".   .   10  .   .   10  .   .   10  .",
    ".   .   .   100 .   .   100 .   .   100",
    "10  .   .   10  .   .   10  .   .   .",
    ".   10  .   .   10  .   .   10  .   .",
    ".   .   100 .   .   100 .   .   100 .",
};
// clang-format on

TEST_F(GameOnAKnownBoard, TheTripleCountAndTheLevelTimeGoOnTheBars) {
    // On a board of 1s each pass takes the first free 1 with every line through it, so four
    // passes clear three rows: the 7, 9 and 11 passes of levels 1 to 3 each find a triple, and
    // the 13 of level 4 find the last 12.
    playOn(boardOf({"1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1",
                    "1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1",
                    "1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1", "1 1 1 1 1 1 1 1 1 1"}));
    TForm3& f = form();
    const struct {
        int triples;
        double countBar;
        int time;
    } levels[] = {
        {7, 10, 3},   // the count bar does not go below 10
        {9, 10, 4},   //
        {11, 11, 5},  // 16 behind: 5 + 16 / 500 rounds to 5
        {12, 12, 6},  // 27 behind, two levels above 2: 6 + 54 / 500 rounds to 6
    };
    for (const auto& level : levels) {
        SCOPED_TRACE(level.triples);
        ASSERT_NO_FATAL_FAILURE(startLevel());
        EXPECT_EQ(f.ProgramLevelPoints, level.triples);
        EXPECT_EQ(f.ProgramTripleCount, level.triples);
        EXPECT_EQ(f.Label8.text(), QString::number(level.triples));
        EXPECT_DOUBLE_EQ(f.TrackBar2.value(), level.countBar);
        EXPECT_DOUBLE_EQ(f.TrackBar1.value(), level.time);
        EXPECT_EQ(f.Label6.text(), QString::number(level.time));
        EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), level.time * 40);
        f.Button12Click();
    }
}

TEST_F(GameOnAKnownBoard, FromLevelThreeTheLeadSoFarShortensOrLengthensTheTime) {
    // The program's 7 and 9 passes find 700 and 900 points; the 11 of level 3 find all nine
    // triples, which give 4 units of time before the handicap.
    playOn(boardOf(kNineHundreds));
    TForm3& f = form();
    const struct {
        const char* what;
        bool pupilPlays;
        int lead;
        int time;
    } cases[] = {
        {"every triple, 1800 against 1600: 4 - 200 / 300 rounds to 3", true, 200, 3},
        {"no triple, 0 against 1600: 4 + 1600 / 500 rounds to 7", false, -1600, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(f.Button15.tag(), 1);
        for (int level = 1; level <= 2; ++level) {
            ASSERT_NO_FATAL_FAILURE(startLevel());
            while (c.pupilPlays && findTriple(f.Board)) {
                playTriple();
            }
            f.Button12Click();
        }
        EXPECT_EQ(f.ProgramTotal, 1600);
        EXPECT_EQ(f.PupilTotal - f.ProgramTotal, c.lead);

        ASSERT_NO_FATAL_FAILURE(startLevel());
        EXPECT_EQ(f.ProgramTripleCount, 9);
        EXPECT_DOUBLE_EQ(f.TrackBar1.value(), c.time);
        EXPECT_EQ(f.Label6.text(), QString::number(c.time));
        EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), c.time * 40);

        // A new game, on the same board.
        f.Button15Click();
        f.Button15Click();
    }
}

TEST_F(GameOnAKnownBoard, ThePointsLabelShowsTheLeadFromATieOn) {
    playOn(boardOf(kNineHundreds));
    TForm3& f = form();
    ASSERT_NO_FATAL_FAILURE(startLevel());
    ASSERT_EQ(f.ProgramLevelPoints, 700);
    for (const char* points :
         {"100", "200", "300", "400", "500", "600", "700   +0", "800   +100", "900   +200"}) {
        playTriple();
        EXPECT_EQ(f.Label5.text(), QString::fromUtf8("Мои баллы - ") + points);
    }
}

}  // namespace
