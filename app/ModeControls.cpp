#include <QString>

#include "app/Form.h"
#include "app/Texts.h"

namespace {

int rounded(double value) {
    return ui::checkedCast<int>(ui::roundHalfEven(value));
}

// Chooses multiplication (2) or division (3): the previous operation's unwritten changes are
// written, then the chosen operation's files are read.
void chooseOperation(TForm3& form, int operation) {
    if (form.Button12.tag() == 1 || form.Button15.tag() == 1) {
        return;
    }
    // The previous operation is saved before anything changes: if that fails, the window stays
    // on it with its error list, which must not be saved later under the other operation.
    form.SaveProgress(form.Operation, form.ProgressDirty, form.ErrorLogDirty, 1);
    form.Operation = operation;
    form.HighlightButtons(static_cast<std::uint8_t>(operation), 0, 1);
    form.Label4.setText(form.uiText(operation == persistence::kMultiplication ? 1 : 2));
    form.Label9.hide();
    form.Label5.hide();
    form.LoadProgress(form.Operation);
    if (form.Button14.tag() == 1) {
        form.DrawStatistics(form.Operation);
    } else {
        form.DrawExerciseColumn(static_cast<std::uint8_t>(form.Operation), 0, 1, 1);
    }
}

}  // namespace

void TForm3::HighlightButtons(std::uint8_t operation, std::uint8_t number,
                              std::uint8_t keepNumbers) {
    ui::Button* const numbered[] = {nullptr,   &Button1,  &Button2, &Button3, &Button4,
                                    &Button5,  &Button6,  &Button7, &Button8, &Button9,
                                    &Button10, &Button11, nullptr,  &Button13};
    if (keepNumbers == 0) {
        for (int k : {1, 2, 3, 4, 5, 6, 7, 8, 9, 13}) {
            numbered[k]->setSelected(false);
        }
    }
    if (number != 0) {
        const int first = keepNumbers == 1 ? 1 : number;
        const int last = keepNumbers == 1 ? 13 : number;
        if (last > 13) {
            ui::throwRangeError(last, 0, 13);
        }
        for (int k = first; k <= last; ++k) {
            if (numbered[k] != nullptr) {
                numbered[k]->setSelected(true);
            }
        }
    }
    if (operation == persistence::kMultiplication) {
        Button11.setSelected(false);
        Button10.setSelected(true);
    } else if (operation == persistence::kDivision) {
        Button10.setSelected(false);
        Button11.setSelected(true);
    }
}

void TForm3::SelectNumber(int n) {
    if (Button12.tag() == 1 || Button14.tag() == 1 || Button15.tag() == 1) {
        return;
    }
    if (n < 1 || n > 9) {
        ui::throwRangeError(n, 1, 9);
    }
    SelectedNumber = n;
    if (n == 1) {
        Label1.setText(uiText(4));
        NumberMode = 1;
    } else {
        Label1.setText(uiText(5) + QString::number(n));
        NumberMode = 0;
    }
    Label1.setFontSize(24);
    Label9.hide();
    Label5.hide();
    if (Button13.tag() == 1) {
        returnTrackBars();
        Button13.setTag(0);
    }
    ProgressBar2.setMaximum(TrackBar1.value() * 60);
    ProgressBar1.setMaximum(TrackBar2.value());
    Label8.setText(QString::number(rounded(TrackBar2.value())));
    Label6.setText(QString::number(rounded(TrackBar1.value())));
    ProgressBar1.setValue(0);
    ProgressBar2.setValue(0);
    Label4.setText(uiText(Operation == persistence::kMultiplication ? 1 : 2));
    HighlightButtons(static_cast<std::uint8_t>(Operation), static_cast<std::uint8_t>(n), 0);
}

void TForm3::Button1Click() {
    SelectNumber(1);
}
void TForm3::Button2Click() {
    SelectNumber(2);
}
void TForm3::Button3Click() {
    SelectNumber(3);
}
void TForm3::Button4Click() {
    SelectNumber(4);
}
void TForm3::Button5Click() {
    SelectNumber(5);
}
void TForm3::Button6Click() {
    SelectNumber(6);
}
void TForm3::Button7Click() {
    SelectNumber(7);
}
void TForm3::Button8Click() {
    SelectNumber(8);
}
void TForm3::Button9Click() {
    SelectNumber(9);
}

void TForm3::Button10Click() {
    chooseOperation(*this, persistence::kMultiplication);
}
void TForm3::Button11Click() {
    chooseOperation(*this, persistence::kDivision);
}

void TForm3::TrackBar1Change() {
    if (Button12.tag() == 1 || Button15.tag() == 1 || TrackBarsBorrowed) {
        return;
    }
    const int minutes = rounded(TrackBar1.value());
    Label6.setText(QString::number(minutes));
    Progress.TimeSetting = ui::checkedCast<std::uint8_t>(minutes);
    ProgressBar2.setMaximum(TrackBar1.value() * 60);
    ProgressDirty = 1;
}

void TForm3::TrackBar2Change() {
    if (Button12.tag() == 1 || Button15.tag() == 1 || TrackBarsBorrowed) {
        return;
    }
    const int count = rounded(TrackBar2.value());
    Label8.setText(QString::number(count));
    Progress.CountSetting = ui::checkedCast<std::uint8_t>(count);
    ProgressBar1.setMaximum(TrackBar2.value());
    ProgressDirty = 1;
}
