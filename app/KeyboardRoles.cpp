#include "app/KeyboardRoles.h"

#include <Qt>

#include "game/BoardGeneration.h"
#include "game/GridRenderer.h"
#include "game/PlayerMoves.h"
#include "trainer/ExerciseColumn.h"

namespace {

// Words that only a screen reader says, where the window shows a colour or a sign: Russian and
// English, by the form's language row.
enum class Spoken { Wrong, Mark, Chosen, Found, FoundByProgram };

QString spoken(const TForm3& form, Spoken word) {
    static const char* const words[][2] = {{"неверно", "wrong"},
                                           {"оценка", "mark"},
                                           {"выбрано", "chosen"},
                                           {"найдено", "found"},
                                           {"найдено программой", "found by the program"}};
    return QString::fromUtf8(words[static_cast<int>(word)][form.LanguageRow == 1 ? 0 : 1]);
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

// The grid content Panel1Viewer shows, or none while it shows a help page.
const game::GridContent* shownGrid(const TForm3& f) {
    if (f.DrawnGrids.empty() || f.ShownGridVersion != f.Panel1Viewer.pictureVersion()) {
        return nullptr;
    }
    return &f.DrawnGrids.back().second;
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
    roles.prompt = {&f->Label10, &f->Label14, &f->Label9, &f->Label5, &f->Label7, &f->Label16};
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
