#include <algorithm>

#include "app/Form.h"
#include "statistics/ErrorRates.h"
#include "statistics/StatisticsList.h"

namespace {

bool allZero(const statistics::NumberTotals& totals) {
    return std::all_of(totals.begin(), totals.end(), [](int total) { return total == 0; });
}

}  // namespace

void TForm3::Button14Click() {
    if (Button12.tag() == 1) {
        return;
    }
    if (Button14.tag() != 1) {
        enterStatistics();
    } else {
        leaveStatistics();
    }
}

void TForm3::enterStatistics() {
    HighlightButtons(static_cast<std::uint8_t>(Operation), 1, 1);
    Button12.setSelected(true);
    Button15.setSelected(true);
    ShowRunSettings(0);
    Button14.setText(uiText(12) + uiText(7));
    Button14.setFontSize(18);
    Button14.setTag(1);
    Button16.setText(uiText(34));
    Button16.show();
    Button16.setTop(Button15.rect().top());
    Button15.hide();
    Label1.setText(uiText(7));
    DrawStatistics(Operation);
}

void TForm3::leaveStatistics() {
    Button14.setText(uiText(7));
    Button14.setFontSize(24);
    Button16.setTop(Button13.rect().top());
    Button16.hide();
    Button15.show();
    DrawGrid(1, 0);
    Button14.setTag(0);
    Button12.setSelected(false);
    EndRun(0);
    DrawExerciseColumn(static_cast<std::uint8_t>(Operation), 0, 1, 1);
    ShowRunSettings(1);
    // Leaving the screen cancels a reset that waits for its confirmation.
    Panel4.show();
    Label17.hide();
    Button16.setTag(0);
}

void TForm3::Button16Click() {
    if (Button15.tag() == 1) {
        ShowGameRules();
        return;
    }
    // The reset button exists only on the statistics screen.
    if (Button14.tag() != 1) {
        return;
    }
    if (Button16.tag() != 1) {
        Panel4.hide();
        Label17.show();
        Button16.setTag(1);
        return;
    }
    Button16.setTag(0);
    Panel4.show();
    Label17.hide();
    SaveProgress(Operation, -1, -1, -1);
    ErrorLogDirty = 0;
    LoadProgress(Operation);
    DrawStatistics(Operation);
    Button16.setSelected(true);
}

void TForm3::showStatisticsPeriod(int operation) {
    if (Progress.PeriodStarted[operation] != 1) {
        return;
    }
    Label9.setText(uiText(8));
    Label5.setText(uiText(9) + clock_.shortDate(Progress.PeriodStart[operation]) +
                   QLatin1Char('-') + clock_.shortDate(Progress.PeriodEnd[operation]));
    Label9.show();
    Label5.show();
}

void TForm3::DrawStatistics(int operation) {
    showStatisticsPeriod(operation);
    const persistence::ExerciseCountTable& counts = Progress.ExerciseCount[operation];
    const statistics::ErrorSummary errors = statistics::summariseErrors(ErrorLog, ErrorLogCount);

    statistics::StatisticsListContent list;
    list.width = Panel3ViewerWidth;
    list.height = Panel3ViewerHeight;
    list.countsHeading = uiText(10);
    list.errorsHeading = uiText(11);
    list.totals = statistics::numberTotals(counts);
    for (const Terror& error : errors.typicalErrors) {
        list.typicalErrors << statistics::typicalErrorText(operation, error);
    }
    Button16.setSelected(allZero(list.totals));

    SharedBitmap.setSize(Panel3ViewerWidth, Panel3ViewerHeight);
    {
        ui::Canvas canvas(SharedBitmap);
        statistics::paintStatisticsList(canvas, list);
    }
    Panel3Viewer.setPicture(SharedBitmap);

    statistics::fillStatisticsBoard(Board, operation, counts, errors.weights);
    DrawGrid(3, 0);
}
