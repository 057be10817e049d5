#include "app/KeyboardRoles.h"

#include "app/Texts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

#include <QHash>
#include <Qt>

#include "game/BoardGeneration.h"
#include "game/GridRenderer.h"
#include "game/PlayerMoves.h"
#include "help/RulesExample.h"
#include "statistics/ErrorRates.h"
#include "trainer/ExerciseColumn.h"
#include "trainer/ExerciseGeneration.h"

namespace {

QString spoken(const TForm3& form, Spoken word) {
    return spokenText(form.LanguageRow, word);
}

// The exercise column as words: the latest answer, said wrong where the column crosses it, and
// the latest mark of the number, which the column shows as a coloured bar. Nothing while the
// viewer shows the statistics or the game's chart.
QString exerciseColumnText(const TForm3& f) {
    if (f.Button14.tag() == 1 || f.Button15.tag() == 1) {
        return QString();
    }
    QStringList parts;
    const std::deque<RecentAnswer>& answers = f.RecentAnswers[f.Operation];
    if (!answers.empty()) {
        QString line = trainer::answerText(f.Operation, answers.back());
        if (answers.back().Wrong) {
            line += QLatin1Char(' ') + spoken(f, Spoken::Wrong);
        }
        parts.append(line);
    }
    const int row = f.NumberMode == 1 ? 1 : f.SelectedNumber;
    const int length = std::min<int>(f.Progress.MarkHistoryLength[f.Operation][row], 10);
    if (length > 0) {
        parts.append(spoken(f, Spoken::Mark) + QLatin1Char(' ') +
                     QString::number(f.Progress.MarkHistory[f.Operation][row][length]));
    }
    return parts.join(QStringLiteral(", "));
}

// Every answer counts in ExerciseCount, a wrong one in error correction too: the sum changes with
// each answer.
long long answersGiven(const TForm3& f) {
    long long sum = 0;
    for (int operation = 2; operation <= 3; ++operation) {
        for (int first = 2; first <= 9; ++first) {
            for (int second = 1; second <= 10; ++second) {
                sum += f.Progress.ExerciseCount[operation][first][second];
            }
        }
    }
    return sum;
}

// How the latest answer went: the answer, right or wrong, and at the run's end its mark; in error
// correction a wrong answer keeps the exercise, shown with "?".
QString answerNews(const TForm3& f) {
    if (f.Button14.tag() == 1 || f.Button15.tag() == 1) {
        return QString();
    }
    if (f.Label16.visible()) {
        return spoken(f, Spoken::TryAgain);
    }
    const std::deque<RecentAnswer>& answers = f.RecentAnswers[f.Operation];
    if (answers.empty()) {
        return QString();
    }
    return trainer::answerText(f.Operation, answers.back()) + QLatin1Char(' ') +
           spoken(f, answers.back().Wrong ? Spoken::Wrong : Spoken::Right);
}

// The mark of the run the latest answer completed: a completed run is saved at once, while error
// correction's end and a time-up leave the answers unsaved, and a run going on has no mark yet.
QString markNews(const TForm3& f) {
    const int row = f.NumberMode == 1 ? 1 : f.SelectedNumber;
    const int length = std::min<int>(f.Progress.MarkHistoryLength[f.Operation][row], 10);
    if (f.Button12.tag() == 1 || f.ProgressDirty != 0 || f.Button15.tag() == 1 || length == 0 ||
        f.RecentAnswers[f.Operation].empty()) {
        return QString();
    }
    return spoken(f, Spoken::Mark) + QLatin1Char(' ') +
           QString::number(f.Progress.MarkHistory[f.Operation][row][length]);
}

// The time left of a run or a level, told at each whole minute and once more 10 seconds before
// the end: the version changes at those moments only.
constexpr int kLastSeconds = 10;
int secondsLeft(const TForm3& f) {
    return static_cast<int>(f.ProgressBar2.maximum() - f.ProgressBar2.value());
}
long long timeLeftVersion(const TForm3& f) {
    if (f.Button12.tag() != 1) {
        return -1;
    }
    const int left = secondsLeft(f);
    return left > kLastSeconds ? (left + 59) / 60 : 0;
}
QString timeLeftNews(const TForm3& f) {
    const int left = secondsLeft(f);
    if (f.Button12.tag() != 1 || left <= 0 || f.ProgressBar2.value() == 0) {
        return QString();
    }
    if (left <= kLastSeconds) {
        return spoken(f, Spoken::SecondsLeft).arg(left);
    }
    return spoken(f, Spoken::MinutesLeft).arg((left + 59) / 60);
}

// The time left asked for with a key during a run or a level, to the second.
QString timeLeftAsked(const TForm3& f) {
    if (f.Button12.tag() != 1) {
        return QString();
    }
    const int left = std::max(secondsLeft(f), 0);
    if (left < 60) {
        return spoken(f, Spoken::SecondsLeft).arg(left);
    }
    if (left % 60 == 0) {
        return spoken(f, Spoken::MinutesLeft).arg(left / 60);
    }
    return spoken(f, Spoken::MinutesSecondsLeft).arg(left / 60).arg(left % 60);
}

// The operation and the number chosen, as the labels above the table show them, told when a
// button changes the choice; error correction tells its own.
long long numberChoiceVersion(const TForm3& f) {
    return f.Operation * 100 + f.SelectedNumber * 10 + f.NumberMode;
}
QString numberChoiceNews(const TForm3& f) {
    if (f.NumberMode == 2 || f.Button12.tag() == 1 || f.Button14.tag() == 1 ||
        f.Button15.tag() == 1) {
        return QString();
    }
    return spoken(f, Spoken::Chosen) + QStringLiteral(": ") + f.Label4.text() + QLatin1Char(' ') +
           f.Label1.text();
}

QString levelWord(const TForm3& f) {
    return f.uiText(21).trimmed();
}

// One level's points as a sentence: "Level 3: Programme - 146, My Points - 30".
QString levelSentence(const TForm3& f, int level, std::int32_t program, std::int32_t pupil) {
    return QStringLiteral("%1 %2: %3 - %4, %5 - %6")
        .arg(levelWord(f))
        .arg(level)
        .arg(f.uiText(17))
        .arg(program)
        .arg(f.uiText(18))
        .arg(pupil);
}

// The three values of a triple as the exercise they make, "3 x 5 = 15", in whatever order the
// board holds them.
QString tripleText(std::array<int, 3> values) {
    std::sort(values.begin(), values.end());
    do {
        if (values[0] * values[1] == values[2]) {
            break;
        }
    } while (std::next_permutation(values.begin(), values.end()));
    return QStringLiteral("%1 x %2 = %3").arg(values[0]).arg(values[1]).arg(values[2]);
}

// The pupil's moves on the board as they happen: a cell chosen (with all that are chosen), a
// cell chosen no more, a triple found with its points. It remembers the board as last told, so
// that a new level's board starts afresh without a word.
class BoardMoves {
  public:
    explicit BoardMoves(const TForm3& form) : f_(form) {}

    // Changes whenever there is news, working it out as it does.
    long long version() {
        const long long board = f_.Button15.tag() == 1 && f_.Button12.tag() == 1
                                    ? f_.GameLevel * 1000003LL + f_.ProgramLevelPoints
                                    : -1;
        std::vector<int> chosen = cellsMarked(game::kMarkSelected);
        std::vector<int> found = cellsMarked(game::kMarkFound);
        const std::int32_t points = f_.Label5.tag();
        if (board != board_) {
            board_ = board;
            news_.clear();
        } else if (chosen != chosen_ || found != found_) {
            news_ = newsOf(chosen, found, points);
        } else {
            return version_;
        }
        chosen_ = std::move(chosen);
        found_ = std::move(found);
        points_ = points;
        return ++version_;
    }
    const QString& news() const { return news_; }

  private:
    std::vector<int> cellsMarked(std::uint8_t mark) const {
        std::vector<int> cells;
        if (f_.Button15.tag() != 1) {
            return cells;
        }
        for (int row = 1; row <= game::kBoardRows; ++row) {
            for (int column = 1; column <= game::kBoardColumns; ++column) {
                if (f_.Board[row][column].Mark == mark) {
                    cells.push_back(row * 100 + column);
                }
            }
        }
        return cells;
    }
    int valueAt(int cell) const { return f_.Board[cell / 100][cell % 100].Value; }
    QString valuesOf(const std::vector<int>& cells) const {
        QStringList values;
        for (int cell : cells) {
            values.append(QString::number(valueAt(cell)));
        }
        return values.join(QStringLiteral(", "));
    }
    static std::vector<int> without(const std::vector<int>& cells, const std::vector<int>& gone) {
        std::vector<int> left;
        std::set_difference(cells.begin(), cells.end(), gone.begin(), gone.end(),
                            std::back_inserter(left));
        return left;
    }

    QString newsOf(const std::vector<int>& chosen, const std::vector<int>& found,
                   std::int32_t points) const {
        const std::vector<int> newlyFound = without(found, found_);
        if (newlyFound.size() == 3) {
            return spokenText(f_.LanguageRow, Spoken::TripleFound)
                .arg(tripleText(
                    {valueAt(newlyFound[0]), valueAt(newlyFound[1]), valueAt(newlyFound[2])}))
                .arg(points - points_);
        }
        const QString chosenNow = chosen.empty() ? QString()
                                                 : spokenText(f_.LanguageRow, Spoken::Chosen) +
                                                       QStringLiteral(": ") + valuesOf(chosen);
        const std::vector<int> dropped = without(chosen_, chosen);
        if (dropped.empty() || !without(chosen, chosen_).empty()) {
            return chosenNow;
        }
        QString news =
            spokenText(f_.LanguageRow, Spoken::Unchosen) + QStringLiteral(": ") + valuesOf(dropped);
        return chosenNow.isEmpty() ? news : news + QStringLiteral(". ") + chosenNow;
    }

    const TForm3& f_;
    long long board_ = -1;
    long long version_ = 0;
    std::vector<int> chosen_;
    std::vector<int> found_;
    std::int32_t points_ = 0;
    QString news_;
};

// The program's move, made once at the start of each level: how many triples it found; its
// points show beside.
long long programMoveVersion(const TForm3& f) {
    if (f.Button15.tag() != 1 || f.Button12.tag() != 1) {
        return -1;
    }
    return f.GameLevel * 1000003LL + f.ProgramLevelPoints;
}
QString programMoveNews(const TForm3& f) {
    if (programMoveVersion(f) < 0) {
        return QString();
    }
    return spoken(f, Spoken::ProgramFound).arg(f.uiText(17)).arg(f.ProgramTripleCount);
}

// The level that has just ended, with both sides' points, once its time is up; after the tenth
// the game begins again at level 1 and shows "New game".
long long levelEndVersion(const TForm3& f) {
    if (f.Button15.tag() != 1 || f.Button12.tag() == 1) {
        return -1;
    }
    return f.GameLevel + (f.Label14.visible() ? 100 : 0);
}
QString levelEndNews(const TForm3& f) {
    if (levelEndVersion(f) < 0) {
        return QString();
    }
    const bool gameOver = f.GameLevel == 1 && f.Label14.visible();
    if (!gameOver && (f.LevelsOnChart == 0 || f.LevelsOnChart != f.GameLevel - 1)) {
        return QString();
    }
    const int level = gameOver ? 10 : f.LevelsOnChart;
    return levelSentence(f, level, f.ProgramLevelPoints, f.Label5.tag());
}

// The level chart as one sentence per level ended, and the totals chart as the totals.
QString levelChartText(const TForm3& f) {
    QStringList levels;
    for (int level = 1; level <= f.LevelsOnChart; ++level) {
        levels.append(levelSentence(f, level, f.LevelScores[level].ProgramPoints,
                                    f.LevelScores[level].PupilPoints));
    }
    return levels.join(QStringLiteral(". "));
}
QString totalsChartText(const TForm3& f) {
    if (f.Button15.tag() != 1) {
        return QString();
    }
    return QStringLiteral("%1: %2 - %3, %4 - %5")
        .arg(f.uiText(20).trimmed())
        .arg(f.uiText(17))
        .arg(f.ProgramTotal)
        .arg(f.uiText(18))
        .arg(f.PupilTotal);
}

// The list beside the statistics table: the answers per number and the typical errors.
QString statisticsListText(const TForm3& f) {
    if (f.Button14.tag() != 1) {
        return QString();
    }
    const statistics::NumberTotals totals =
        statistics::numberTotals(f.Progress.ExerciseCount[f.Operation]);
    QStringList counts;
    for (int number = 2; number <= 9; ++number) {
        counts.append(QStringLiteral("%1 - %2").arg(number).arg(totals[number]));
    }
    QString text = f.uiText(10) + QStringLiteral(": ") + counts.join(QStringLiteral(", "));
    QStringList errors;
    for (const Terror& error :
         statistics::summariseErrors(f.ErrorLog, f.ErrorLogCount).typicalErrors) {
        errors.append(statistics::typicalErrorText(f.Operation, error));
    }
    if (!errors.isEmpty()) {
        text += QStringLiteral(". ") + f.uiText(11) + QStringLiteral(": ") +
                errors.join(QStringLiteral(", "));
    }
    return text;
}

// What Panel3Viewer shows, in words.
QString panel3Text(const TForm3& f) {
    if (f.Button14.tag() == 1) {
        return statisticsListText(f);
    }
    if (f.Button15.tag() == 1) {
        return levelChartText(f);
    }
    return exerciseColumnText(f);
}

// The weights of the recorded errors the statistics table shows, summed once for each state of
// the log and the answers.
class StatisticsWeights {
  public:
    const statistics::WeightTable& of(const TForm3& f) {
        const std::array<long long, 3> key{f.Operation, f.ErrorLogCount, answersGiven(f)};
        if (key != key_) {
            key_ = key;
            weights_ = statistics::summariseErrors(f.ErrorLog, f.ErrorLogCount).weights;
        }
        return weights_;
    }

  private:
    std::array<long long, 3> key_{-1, -1, -1};
    statistics::WeightTable weights_;
};

// A cell of the statistics table in words: "7 x 8: 3 of 12 wrong". Row headings keep what they
// show, and the band above the table says its operand words.
QString statisticsCellText(const TForm3& f, StatisticsWeights& weights,
                           const game::GridContent& grid, int column, int row) {
    const bool multiplication = grid.operation == persistence::kMultiplication;
    const int second = multiplication ? column : column + 1;
    // The band above the table names the operands across the whole row.
    if (row == 1) {
        return multiplication ? grid.multiplicand + QStringLiteral(", ") + grid.multiplier
                              : grid.dividend + QStringLiteral(", ") + grid.divider;
    }
    if ((multiplication ? column == 1 : column == game::kBoardColumns)) {
        return game::gridCellText(grid, column, row);
    }
    const QString exercise = trainer::exerciseText(grid.operation, row, second).chopped(2);
    const int answers = f.Progress.ExerciseCount[grid.operation][row][second];
    if (answers == 0) {
        return spoken(f, Spoken::NotAnswered).arg(exercise);
    }
    const float weight =
        statistics::isUsableWeight(weights.of(f)[row][second]) ? weights.of(f)[row][second] : 0.0f;
    return spoken(f, Spoken::StatisticsCell)
        .arg(exercise)
        .arg(QString::number(static_cast<double>(weight), 'g', 4))
        .arg(answers);
}

// A choice of a combo box as it changes: its item.
ui::News choiceNews(const ui::ComboBox& box) {
    const auto item = [&box] { return box.items().value(box.itemIndex()); };
    return {nullptr, item, [item] { return static_cast<long long>(qHash(item())); }};
}

// The grid content Panel1Viewer shows, or none while it shows a help page.
const game::GridContent* shownGrid(const TForm3& f) {
    if (f.DrawnGrids.empty() || f.ShownGridVersion != f.Panel1Viewer.pictureVersion()) {
        return nullptr;
    }
    return &f.DrawnGrids.back().second.content;
}

QString boardCellState(const TForm3& f, const game::GridContent& grid, int column, int row) {
    if (grid.mode != 2) {
        return QString();
    }
    switch (f.Board[row][column].Mark) {
        case game::kMarkSelected:
            return spoken(f, Spoken::Chosen);
        case game::kMarkFound:
            return spoken(f, Spoken::Found);
        case game::kMarkProgram:
            return spoken(f, Spoken::FoundByProgram);
        default:
            return QString();
    }
}

}  // namespace

ui::KeyboardRoles keyboardRoles(TForm3& form) {
    TForm3* f = &form;
    ui::KeyboardRoles roles;
    // Operation, number and Start first: the way into a run. Then as the screen reads: the rest
    // of the top row from left to right (the run settings in place of help and language), the
    // table below it, and the bottom row from left to right, the close button last.
    roles.focusOrder = {
        &f->Button10,  &f->Button11,  &f->Button1,   &f->Button2,      &f->Button3,
        &f->Button4,   &f->Button5,   &f->Button6,   &f->Button7,      &f->Button8,
        &f->Button9,   &f->Button12,  &f->PupilBox,  &f->LookButton,   &f->Button18,
        &f->ComboBox1, &f->TrackBar2, &f->TrackBar1, &f->Panel1Viewer, &f->Button13,
        &f->Button16,  &f->TrackBar3, &f->Button14,  &f->Button15,     &f->Button17};

    const auto running = [f] { return f->Button12.tag() == 1; };
    const auto inGame = [f] { return f->Button15.tag() == 1; };
    roles.shortcuts = {{Qt::Key_Escape, &f->Button12, running},
                       {Qt::Key_F1, &f->Button18, [] { return true; }},
                       // Outside the game the same button resets the statistics.
                       {Qt::Key_F1, &f->Button16, inGame}};

    roles.grid.viewer = &f->Panel1Viewer;
    roles.grid.columns = game::kBoardColumns;
    roles.grid.rows = game::kBoardRows;
    roles.grid.frame = [f](int column, int row) {
        const QRectF cell = game::gridCellRect(column, row, f->GridCellWidth, f->GridCellHeight);
        const double scale = f->Panel1Viewer.bitmapScale();
        return QRectF(cell.topLeft() * scale, cell.bottomRight() * scale);
    };
    roles.grid.centre = [frame = roles.grid.frame](int column, int row) {
        return frame(column, row).center();
    };
    roles.grid.numbered = [f] { return f->Button15.tag() == 0; };
    roles.grid.cellsShown = [f] { return shownGrid(*f) != nullptr; };

    roles.start = &f->Button12;
    roles.answering = running;
    return roles;
}

ui::AccessibleRoles accessibleRoles(TForm3& form) {
    TForm3* f = &form;
    ui::AccessibleRoles roles;
    roles.captions = {{&f->TrackBar2, &f->Label2},
                      {&f->TrackBar1, &f->Label3},
                      {&f->TrackBar3, &f->Label21},
                      {&f->ComboBox1, &f->Label15},
                      {&f->PupilBox, &f->PupilLabel}};
    // The number and the operation chosen, as the labels above the table name them: a run gives
    // every button the selected look, and error correction chooses no number.
    const ui::Button* const numbers[] = {&f->Button1, &f->Button2, &f->Button3,
                                         &f->Button4, &f->Button5, &f->Button6,
                                         &f->Button7, &f->Button8, &f->Button9};
    for (int n = 1; n <= 9; ++n) {
        roles.choices.push_back({numbers[n - 1], [f, n] {
                                     return n == 1 ? f->NumberMode == 1
                                                   : f->NumberMode == 0 && f->SelectedNumber == n;
                                 }});
    }
    roles.choices.push_back({&f->Button10, [f] { return f->Operation == 2; }});
    roles.choices.push_back({&f->Button11, [f] { return f->Operation == 3; }});
    roles.pictures = {{&f->Panel3Viewer, [f] { return panel3Text(*f); }},
                      {&f->Panel2Viewer, [f] { return totalsChartText(*f); }}};
    // The exercise is told again after every answer, also where it stays the same.
    const auto answers = [f] { return answersGiven(*f); };
    const auto board = std::make_shared<BoardMoves>(form);
    const auto statisticsList = [f] { return statisticsListText(*f); };
    roles.names = {{&f->ProgressBar1, [f] { return spoken(*f, Spoken::AnsweredBar); }},
                   {&f->ProgressBar2, [f] { return spoken(*f, Spoken::TimeBar); }}};
    roles.news = {
        {nullptr, [f] { return answerNews(*f); }, answers},
        {nullptr, [f] { return markNews(*f); }, answers},
        {nullptr, [f] { return timeLeftNews(*f); }, [f] { return timeLeftVersion(*f); }},
        {nullptr, [f] { return numberChoiceNews(*f); }, [f] { return numberChoiceVersion(*f); }},
        {nullptr, [board] { return board->news(); }, [board] { return board->version(); }},
        choiceNews(f->ComboBox1),
        choiceNews(f->PupilBox),
        {&f->Label14, {}, {}},
        {nullptr, [f] { return levelEndNews(*f); }, [f] { return levelEndVersion(*f); }},
        {&f->Label10, {}, {}},
        {nullptr, [f] { return programMoveNews(*f); }, [f] { return programMoveVersion(*f); }},
        {&f->Label9, {}, {}},
        {&f->Label5, {}, {}},
        {nullptr, statisticsList,
         [statisticsList] { return static_cast<long long>(qHash(statisticsList())); }},
        {&f->Label17, {}, {}},
        {nullptr, [f] { return f->Label7.visible() ? f->Label7.text() : QString(); },
         [f, answers] { return answers() * 2 + (f->Label7.visible() ? 1 : 0); }}};
    // F2 says the time left: digits answer, and the keys of the window and of Orca are elsewhere.
    roles.spokenKeys = {{Qt::Key_F2, [f] { return timeLeftAsked(*f); }}};
    roles.page = [f] {
        if (shownGrid(*f) != nullptr || f->ShownHelpVersion != f->Panel1Viewer.pictureVersion()) {
            return QStringList();
        }
        QStringList lines = help::helpPageLines(f->ShownHelpPage);
        // The rules' example is a picture below the text.
        if (f->ShownHelpPage.page == help::kRulesPage && f->ShownHelpPage.board != nullptr) {
            const int row = f->ShownHelpPage.languageRow;
            const game::Board& example = *f->ShownHelpPage.board;
            lines.append(spokenText(row, Spoken::ExampleRows)
                             .arg(help::rulesExampleRows(example).join(QStringLiteral("; "))));
            lines.append(spokenText(row, Spoken::ExampleTriples)
                             .arg(help::rulesExampleTriples(example).join(QStringLiteral("; "))));
        }
        return lines;
    };
    const auto weights = std::make_shared<StatisticsWeights>();
    roles.cellText = [f, weights](int column, int row) {
        const game::GridContent* grid = shownGrid(*f);
        if (grid == nullptr) {
            return QString();
        }
        if (grid->mode == 3) {
            return statisticsCellText(*f, *weights, *grid, column, row);
        }
        return game::gridCellText(*grid, column, row);
    };
    roles.cellState = [f](int column, int row) {
        const game::GridContent* grid = shownGrid(*f);
        return grid != nullptr ? boardCellState(*f, *grid, column, row) : QString();
    };
    return roles;
}
