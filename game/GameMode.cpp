#include <array>

#include "app/Colours.h"
#include "app/Form.h"

namespace {

constexpr int kLastLevel = 10;

// The number, operation, error-correction and statistics buttons, which the game's own controls
// replace.
std::array<ui::Button*, 13> trainerButtons(TForm3& f) {
    return {&f.Button1, &f.Button2, &f.Button3,  &f.Button4,  &f.Button5,  &f.Button6, &f.Button7,
            &f.Button8, &f.Button9, &f.Button10, &f.Button11, &f.Button13, &f.Button14};
}

}  // namespace

void TForm3::Button15Click() {
    if (Button15.tag() == 1) {
        LeaveGameMode();
    } else if (Button12.tag() != 1) {
        EnterGameMode();
    }
}

void TForm3::EnterGameMode() {
    Button15.setText(uiText(12) + uiText(13));
    TrackBar1.setEnabled(true);
    TrackBar2.setEnabled(true);
    TrackBar3.setEnabled(true);

    ShowRunSettings(1);
    DrawGrid(1, 0);
    Label10.hide();
    Label14.hide();
    Button14.setSelected(false);
    Button16.setSelected(false);
    ShowRunSettings(0);

    Panel2Viewer.show();
    ProgramTotal = 0;
    PupilTotal = 0;
    Label10.setText(uiText(21) + QStringLiteral(" 1"));
    Label10.show();

    Panel4.hide();
    Label11.show();
    for (ui::Button* b : trainerButtons(*this)) {
        b->hide();
    }
    GameLevel = 1;
    // Error correction has already put the pupil's own settings aside and its own on the bars;
    // those are the ones to give back when the game ends.
    if (Button13.tag() != 1) {
        SavedTimeSetting = ui::checkedCast<int>(ui::roundHalfEven(TrackBar1.value()));
        SavedCountSetting = ui::checkedCast<int>(ui::roundHalfEven(TrackBar2.value()));
    }
    Button15.setTag(1);
    HighlightButtons(ui::checkedCast<std::uint8_t>(Operation), 0, 1);

    Label1.setText(QString());
    Label4.setText(QString());
    Button15.setFontSize(20);
    Button16.setText(uiText(14));
    Button16.show();
    Label5.hide();
    Label9.hide();

    LevelScores.fill(game::LevelScore{});
    LevelsOnChart = 0;
    DrawLevelChart(1);
}

void TForm3::LeaveGameMode() {
    Panel2Viewer.hide();
    Panel4.show();
    Label11.hide();
    for (ui::Button* b : trainerButtons(*this)) {
        b->show();
    }
    Button15.setTag(0);
    Button15.show();
    Button15.setFontSize(26);
    Button16.hide();

    // A game entered from error correction gives back the choice made before it.
    const auto reapplyNumberChoice = [this] {
        if (Button13.tag() == 1) {
            SelectNumber(SavedNumber);
        } else {
            SelectNumber(NumberMode == 1 ? 1 : SelectedNumber);
        }
    };
    reapplyNumberChoice();
    DrawExerciseColumn(ui::checkedCast<std::uint8_t>(Operation), 0, 1, 1);
    reapplyNumberChoice();

    // Ends a level that is still running, unscored: the flag is already off.
    EndRun(3);
    TrackBar1.setValue(SavedTimeSetting);
    TrackBar2.setValue(SavedCountSetting);
    Button15.setText(uiText(13));
    Button14.setSelected(false);
    ShowRunSettings(1);
}

void TForm3::StartGameLevel() {
    Label10.show();
    if (GameLevel == 1) {
        DrawLevelChart(1);
    }
    PrepareGameLevel();
    LevelScores[GameLevel].ProgramPoints = ProgramLevelPoints;
    TrackBar3.setEnabled(false);
}

void TForm3::EndGameLevel() {
    const std::int32_t pupilPoints = Label5.tag();
    LevelScores[GameLevel].PupilPoints = pupilPoints;
    ProgramTotal = ui::checkedAdd(ProgramTotal, ProgramLevelPoints);
    PupilTotal = ui::checkedAdd(PupilTotal, pupilPoints);
    LevelsOnChart = GameLevel;
    DrawLevelChart(1);

    if (GameLevel == kLastLevel) {
        Label14.setText(uiText(16));
        Label14.setFontColor(colours::kRed);
        Label14.show();
        GameLevel = 0;
        ProgramTotal = 0;
        PupilTotal = 0;
        for (game::LevelScore& score : LevelScores) {
            score.ProgramPoints = 0;
        }
        // The chart keeps showing the finished game until it is drawn again.
        LevelsOnChart = 0;
        TrackBar3.setEnabled(true);
    }
    GameLevel = ui::checkedAdd<std::uint8_t>(GameLevel, 1);
    Label10.setText(uiText(21) + QString::number(GameLevel));
}
