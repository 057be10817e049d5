#include "trainer/ErrorCorrection.h"

#include <algorithm>

#include "app/Form.h"

namespace trainer {

int errorCorrectionMinutes(int errors) {
    constexpr int kLongestRun = 10;
    return std::min(errors / 2 + 1, kLongestRun);
}

}  // namespace trainer

void TForm3::Button13Click() {
    if (Button12.tag() == 1 || Button13.tag() == 1 || Button14.tag() == 1 || Button15.tag() == 1) {
        return;
    }
    const int errors = ui::checkedCast<int>(CurrentErrors[Operation].size());
    Label5.show();
    Label9.show();
    Label9.setText(Label4.text() + QLatin1Char(':'));
    if (errors == 0) {
        Label5.setText(uiText(32));
        if (Button18.visible()) {
            ShowRunSettings(0);
            ShowRunSettings(1);
        }
        return;
    }

    Label5.setText(uiText(33) + QStringLiteral(" - ") + QString::number(errors));
    ShowRunSettings(0);
    Label1.setText(Button13.text());
    Label1.setFontSize(16);
    SavedNumber = NumberMode == 1 ? 1 : SelectedNumber;
    SavedTimeSetting = ui::checkedCast<int>(ui::roundHalfEven(TrackBar1.value()));
    SavedCountSetting = ui::checkedCast<int>(ui::roundHalfEven(TrackBar2.value()));
    borrowTrackBars(errors);
    ProgressBar2.setMaximum(TrackBar1.value() * 60);
    ProgressBar1.setMaximum(TrackBar2.value());
    Label8.setText(QString::number(errors));
    Label6.setText(QString::number(ui::roundHalfEven(TrackBar1.value())));
    ProgressBar1.setValue(0);
    ProgressBar2.setValue(0);
    NumberMode = 2;
    HighlightButtons(static_cast<std::uint8_t>(Operation), 13, 0);
    Button13.setTag(1);
}

void TForm3::borrowTrackBars(int errors) {
    // The pupil's own settings stay in the record while the bars show the mode's values.
    TrackBarsBorrowed = true;
    if (errors > 50) {
        TrackBar2.setMaximum(errors);
    }
    TrackBar2.setValue(errors);
    TrackBar1.setValue(trainer::errorCorrectionMinutes(errors));
}

void TForm3::returnTrackBars() {
    TrackBar1.setMaximum(10);
    TrackBar2.setMaximum(50);
    TrackBar1.setValue(SavedTimeSetting);
    TrackBar2.setValue(SavedCountSetting);
    TrackBarsBorrowed = false;
}
