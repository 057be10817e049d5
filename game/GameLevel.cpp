#include "app/Form.h"
#include "game/GridHitTest.h"
#include "game/ProgramSearch.h"

void TForm3::PrepareGameLevel() {
    GenerateBoard();
    const game::SearchResult program = game::programSearch(Board, GameLevel);
    ProgramLevelPoints = program.points;
    ProgramTripleCount = program.tripleCount;

    // The program's triples are not shown: the pupil may use every cell.
    game::clearMarks(Board);
    DrawGrid(2, 0);
    SelectionCount = 0;
    Label9.setText(uiText(17) + QStringLiteral(" - ") + QString::number(ProgramLevelPoints));
    Label5.setText(uiText(18) + QStringLiteral(" - 0"));
    Label5.setTag(0);
    Label5.show();
    Label9.show();

    // In a level the two setting bars only display its triple count and its time.
    TrackBar2.setValue(ProgramTripleCount);
    TrackBar1.setMaximum(10);
    TrackBar1.setValue(game::levelTime(ProgramTripleCount, GameLevel, PupilTotal, ProgramTotal));
    // The run clock counts seconds; a unit of the level's time is 40 of them.
    ProgressBar2.setMaximum(TrackBar1.value() * 40);
    Label8.setText(QString::number(ProgramTripleCount));
    Label6.setText(QString::number(ui::roundHalfEven(TrackBar1.value())));
}

void TForm3::GameBoardPress(double x, double y) {
    // A press is placed by the rule the board is painted with, as in the answer table; a press
    // beside the ten columns and nine rows selects no cell.
    if (x < 0 || y < 0) {
        return;
    }
    const int column = game::gridColumnAt(x, GridCellWidth, Panel1Viewer.bitmapScale());
    const int row = game::gridRowAt(y, GridCellHeight, Panel1Viewer.bitmapScale());
    if (column > game::kBoardColumns || row > game::kBoardRows) {
        return;
    }
    const game::PressOutcome outcome =
        game::pressCell(Board, Selection, SelectionCount, row, column);
    if (outcome.tripleFound) {
        Label5.setTag(ui::checkedAdd(Label5.tag(), outcome.points));
        ShowPupilPoints();
    }
    if (outcome.redraw) {
        DrawGrid(2, 0);
    }
}

void TForm3::ShowPupilPoints() {
    const std::int32_t points = Label5.tag();
    QString text = uiText(18) + QStringLiteral(" - ") + QString::number(points);
    if (points >= ProgramLevelPoints) {
        text += QStringLiteral("   +") + QString::number(points - ProgramLevelPoints);
    }
    Label5.setText(text);
}
