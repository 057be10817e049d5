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
    Label18.setFontColor(difficulty >= 3 && difficulty <= 5 ? kChosenBand : kOtherBand);
    Label19.setFontColor(difficulty >= 6 && difficulty <= 7 ? kChosenBand : kOtherBand);
    Label20.setFontColor(difficulty >= 8 && difficulty <= 10 ? kChosenBand : kOtherBand);
    Label22.setText(uiText(42) + QStringLiteral(" 1-") + QString::number(difficulty));
}
