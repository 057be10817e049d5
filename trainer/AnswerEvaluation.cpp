#include "app/Form.h"
#include "game/GridHitTest.h"

void TForm3::ImageViewer1MouseDown(double x, double y) {
    if (!Timer1.enabled()) {
        return;
    }
    if (Button15.tag() != 0) {
        GameBoardPress(x, y);
        return;
    }
    if (Button12.tag() == 0) {
        return;
    }
    ClickedColumn = game::gridColumnAt(x, GridCellWidth, Panel1Viewer.bitmapScale());
    ClickedRow = game::gridRowAt(y, GridCellHeight, Panel1Viewer.bitmapScale());
    DrawGrid(1, 1);
    EvaluateAnswer(ui::checkedCast<std::uint8_t>(ClickedColumn),
                   ui::checkedCast<std::uint8_t>(ClickedRow));
}

void TForm3::ImageViewer1MouseUp(double, double) {
    if (Button15.tag() == 0 && Button14.tag() == 0) {
        DrawGrid(1, 0);
    }
}

void TForm3::EvaluateAnswer(std::uint8_t column, std::uint8_t row) {
    const int a = SelectedNumber;
    const int b = SecondOperand;
    ProgressDirty = 1;
    const int n = (row - 1) * 10 + column;

    // A counter that has reached its largest value stays there rather than wrapping to zero.
    std::uint16_t& count = Progress.ExerciseCount[Operation][a][b];
    if (count < 65535) {
        ++count;
    }

    bool wrong = false;
    if (n == ExpectedAnswer) {
        Label16.hide();
    } else {
        if (NumberMode == 2) {
            Label16.show();
            return;
        }
        const auto first = ui::checkedCast<std::uint8_t>(a);
        const auto second = ui::checkedCast<std::uint8_t>(b);
        const auto answer = ui::checkedCast<std::uint8_t>(n);
        CurrentErrors[Operation].push_back(Ter{first, second});
        wrong = true;
        ErrorLogDirty = 1;

        int found = 0;
        for (int k = 1; k <= ErrorLogCount; ++k) {
            const Terror& e = ErrorLog.at(static_cast<std::size_t>(k));
            if (e.z1 == first && e.Z2 == second && e.res == answer) {
                found = k;
                break;
            }
        }
        if (found == 0) {
            found = ui::checkedAdd(ErrorLogCount, 1);
            ErrorLog.resize(static_cast<std::size_t>(found) + 1);
            ErrorLog[static_cast<std::size_t>(found)] = Terror{};
            ErrorLog[static_cast<std::size_t>(found)].z1 = first;
            ErrorLog[static_cast<std::size_t>(found)].Z2 = second;
            ErrorLogCount = found;
        }
        WrongAnswers = ui::checkedAdd(WrongAnswers, 1);
        Terror& record = ErrorLog.at(static_cast<std::size_t>(found));
        record.error += 1.0f;
        record.res = answer;
    }

    std::deque<RecentAnswer>& recent = RecentAnswers[Operation];
    if (recent.size() >= 10) {
        recent.pop_front();
    }
    recent.push_back(
        RecentAnswer{static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), n, wrong});

    ProgressBar1.setValue(ProgressBar1.value() + 1);

    if (ExercisesInRun > ExerciseNumber && TimeRemains) {
        ExerciseNumber = ui::checkedAdd<std::int64_t>(ExerciseNumber, 1);
        DrawExerciseColumn(ui::checkedCast<std::uint8_t>(Operation), -1, 0, 1);
        NextExercise();
        return;
    }
    CompleteRun();
}
