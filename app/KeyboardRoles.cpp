#include "app/KeyboardRoles.h"

#include "app/Texts.h"

#include <QHash>
#include <Qt>

#include "game/BoardGeneration.h"
#include "game/GridRenderer.h"
#include "game/PlayerMoves.h"
#include "trainer/ExerciseColumn.h"

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

// The cells the pupil has chosen on the board, by their numbers, as the choice changes; a found
// triple is told by the points.
QString chosenNews(const TForm3& f) {
    if (f.Button15.tag() != 1) {
        return QString();
    }
    QStringList chosen;
    for (int row = 1; row <= game::kBoardRows; ++row) {
        for (int column = 1; column <= game::kBoardColumns; ++column) {
            if (f.Board[row][column].Mark == game::kMarkSelected) {
                chosen.append(QString::number(f.Board[row][column].Value));
            }
        }
    }
    return chosen.isEmpty() ? QString()
                            : spoken(f, Spoken::Chosen) + QStringLiteral(": ") +
                                  chosen.join(QStringLiteral(", "));
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
    roles.focusOrder = {&f->Button10,  &f->Button11,  &f->Button1,      &f->Button2,  &f->Button3,
                        &f->Button4,   &f->Button5,   &f->Button6,      &f->Button7,  &f->Button8,
                        &f->Button9,   &f->Button12,  &f->PupilBox,     &f->Button18, &f->ComboBox1,
                        &f->TrackBar2, &f->TrackBar1, &f->Panel1Viewer, &f->Button13, &f->Button16,
                        &f->TrackBar3, &f->Button14,  &f->Button15,     &f->Button17};

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
    roles.pictures = {{&f->Panel3Viewer, [f] { return exerciseColumnText(*f); }}};
    // The exercise is told again after every answer, also where it stays the same.
    const auto answers = [f] { return answersGiven(*f); };
    roles.names = {{&f->ProgressBar1, [f] { return spoken(*f, Spoken::AnsweredBar); }},
                   {&f->ProgressBar2, [f] { return spoken(*f, Spoken::TimeBar); }}};
    roles.news = {{nullptr, [f] { return answerNews(*f); }, answers},
                  {nullptr, [f] { return markNews(*f); }, answers},
                  {nullptr, [f] { return timeLeftNews(*f); }, [f] { return timeLeftVersion(*f); }},
                  {nullptr, [f] { return chosenNews(*f); },
                   [f] { return static_cast<long long>(qHash(chosenNews(*f))); }},
                  choiceNews(f->ComboBox1),
                  choiceNews(f->PupilBox),
                  {&f->Label14, {}, {}},
                  {&f->Label10, {}, {}},
                  {&f->Label9, {}, {}},
                  {&f->Label5, {}, {}},
                  {&f->Label17, {}, {}},
                  {nullptr, [f] { return f->Label7.visible() ? f->Label7.text() : QString(); },
                   [f, answers] { return answers() * 2 + (f->Label7.visible() ? 1 : 0); }}};
    roles.page = [f] {
        if (shownGrid(*f) != nullptr || f->ShownHelpVersion != f->Panel1Viewer.pictureVersion()) {
            return QStringList();
        }
        return help::helpPageLines(f->ShownHelpPage);
    };
    roles.cellText = [f](int column, int row) {
        const game::GridContent* grid = shownGrid(*f);
        return grid != nullptr ? game::gridCellText(*grid, column, row) : QString();
    };
    roles.cellState = [f](int column, int row) {
        const game::GridContent* grid = shownGrid(*f);
        return grid != nullptr ? boardCellState(*f, *grid, column, row) : QString();
    };
    return roles;
}
