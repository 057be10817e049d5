#include "app/Form.h"
#include "app/Texts.h"
#include "persistence/LookFile.h"
#include "ui/Errors.h"
#include "ui/Look.h"

void TForm3::forceHighContrast() {
    highContrastForced_ = true;
    ui::setCurrentLook(ui::Look::HighContrast);
    ShowLookSwitch();
}

void TForm3::ShowPupilLook() {
    if (!highContrastForced_) {
        ui::setCurrentLook(persistence::readLookFile(DataFolder));
    }
    ShowLookSwitch();
}

void TForm3::ShowLookSwitch() {
    LookButton.setText(lookSwitchText(languageOf(LanguageRow, AmericanEnglish)));
    LookButton.setPressed(ui::currentLook() == ui::Look::HighContrast);
}

// Everything the idle window shows is drawn again in the new look; nothing else changes, and
// Save.dat is not touched.
void TForm3::LookButtonClick() {
    if (modeIsOn()) {
        ShowLookSwitch();
        return;
    }
    const ui::Look look = LookButton.pressed() ? ui::Look::HighContrast : ui::Look::Default;
    ui::setCurrentLook(look);
    ShowLookSwitch();
    if (Panel1Viewer.pictureVersion() == ShownHelpVersion) {
        DrawHelpScreen(ShownHelpPage.page);
    } else if (!DrawnGrids.empty() && Panel1Viewer.pictureVersion() == ShownGridVersion) {
        const game::GridContent& shown = DrawnGrids.back().second.content;
        DrawGrid(shown.mode, shown.highlight ? 1 : 0);
    }
    DrawExerciseColumn(static_cast<std::uint8_t>(Operation), 0, 1, 1);
    DrawMarkLegend();
    if (auto failure = persistence::writeLookFile(DataFolder, look)) {
        throw ui::IoError(lookNotKeptText(languageOf(LanguageRow, AmericanEnglish))
                              .arg(failure->path, failure->reason));
    }
}
