#include "app/Colours.h"
#include "app/Form.h"
#include "trainer/Marks.h"

void TForm3::CompleteRun() {
    Timer1.setEnabled(false);
    const int mark = trainer::runMark(ExerciseNumber, WrongAnswers, ExercisesInRun);
    const int row = NumberMode == 1 ? 1 : SelectedNumber;
    const auto operation = ui::checkedCast<std::uint8_t>(Operation);

    // Error correction gives no mark and saves nothing.
    if (NumberMode != 2) {
        trainer::appendMark(Progress.MarkHistory[operation][row],
                            Progress.MarkHistoryLength[operation][row], mark);
        // A failed save is reported and tried again by the next one; the run still ends.
        try {
            SaveProgress(operation, ProgressDirty, ErrorLogDirty, 1);
        } catch (const ui::IoError& e) {
            reporter_.report(QString::fromStdString(e.what()));
        }
    }
    EndRun(TimeRemains ? 0 : 2);
    DrawExerciseColumn(operation, row, 0, 1);
}

void TForm3::EndRun(std::uint8_t reason) {
    Label7.hide();
    if (reason == 2) {
        Label14.setText(uiText(15));
        Label14.setFontColor(colours::kDodgerBlue);
        Label14.show();
    }
    Label9.show();
    // A game level is not error correction's run, even when the game was entered from the mode:
    // the mode's choice is given back when the game is left.
    if (Button13.tag() == 1 && Button15.tag() == 0) {
        // The sign of a wrong answer belongs to an exercise that is no longer asked.
        Label16.hide();
        if (SavedNumber == 1) {
            NumberMode = 1;
        }
        SelectedNumber = SavedNumber;
    }
    Button12.setTag(0);
    Button12.setText(uiText(3));
    Timer1.setEnabled(false);
    Button15.setSelected(false);

    if (Button15.tag() == 0) {
        Button14.setSelected(false);
        TrackBar1.setEnabled(true);
        TrackBar2.setEnabled(true);
        SelectNumber(NumberMode == 1 ? 1 : SelectedNumber);
    } else {
        EndGameLevel();
    }
}
