#include <QString>

#include "app/Colours.h"
#include "app/Form.h"

namespace {

constexpr QRgb kChosenBand = colours::kRed;
constexpr QRgb kOtherBand = colours::kDodgerBlue;

}  // namespace

void TForm3::TrackBar3Change() {
    const int difficulty = static_cast<int>(TrackBar3.value());
    TrackBar3.setTag(difficulty);
    // The chosen band's word is red and, for pupils who do not tell red from blue, underlined:
    // the line lies in the free room beneath the words.
    const bool chosen[] = {difficulty >= 3 && difficulty <= 5, difficulty >= 6 && difficulty <= 7,
                           difficulty >= 8 && difficulty <= 10};
    ui::Label* const words[] = {&Label18, &Label19, &Label20};
    for (int band = 0; band < 3; ++band) {
        words[band]->setFontColor(chosen[band] ? kChosenBand : kOtherBand);
        words[band]->setUnderlined(chosen[band]);
    }
    Label22.setText(uiText(42) + QStringLiteral(" 1-") + QString::number(difficulty));
}
