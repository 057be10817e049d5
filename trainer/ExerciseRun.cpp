#include "app/Form.h"

void TForm3::ShowRunSettings(int show) {
    Label15.hide();
    ComboBox1.hide();
    Button18.hide();
    const bool settings = show == 1;
    for (ui::Control* setting : std::initializer_list<ui::Control*>{
             &Label6, &Label8, &Label2, &Label3, &TrackBar1, &TrackBar2}) {
        setting->setVisible(settings);
    }
}

void TForm3::Button12Click() {
    if (Button14.tag() == 1) {
        return;
    }
    if (Button12.tag() == 1) {
        if (Button15.tag() == 1) {
            Label10.setText(uiText(21) + QString::number(GameLevel));
        }
        EndRun(3);
        return;
    }

    Button12.setText(uiText(0));
    ShowRunSettings(1);
    TrackBar1.setEnabled(false);
    TrackBar2.setEnabled(false);
    Label14.hide();
    Timer1.setEnabled(true);
    Button16.hide();
    TimeRemains = true;
    ProgressBar1.setValue(0);
    ProgressBar2.setValue(0);
    Button12.setTag(1);
    HighlightButtons(0, 1, 1);
    Button14.setSelected(true);
    if (Button15.tag() == 1) {
        Button16.setSelected(true);
    } else {
        Button15.setSelected(true);
    }
    if (Button15.tag() == 1) {
        StartGameLevel();
        return;
    }

    DrawGrid(1, 0);
    NextExercise();
    if (Button12.tag() == 0) {
        // Error correction found no error left to ask: the run has already ended.
        return;
    }
    bool isNumber = false;
    ExercisesInRun = Label8.text().toInt(&isNumber);
    if (!isNumber) {
        throw ui::RangeError(QStringLiteral("Invalid exercise count \"%1\"").arg(Label8.text()));
    }
    ExerciseNumber = 1;
    WrongAnswers = 0;
    // The generator was seeded once from the system's entropy; it is not seeded again.
    DrawCounter = 0;
    Label7.show();
    Label9.hide();
    Label5.hide();
}

void TForm3::Timer1Timer() {
    if (ProgressBar2.value() >= ProgressBar2.maximum()) {
        Timer1.setEnabled(false);
        TimeRemains = false;
        EndRun(2);
        // The run is over and its clock back at zero.
        return;
    }
    ProgressBar2.setValue(ProgressBar2.value() + 1);
}
