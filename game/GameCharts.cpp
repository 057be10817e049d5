#include "game/GameCharts.h"

#include <cstdlib>

#include "app/Form.h"
#include "ui/Look.h"

namespace game {

namespace {

constexpr int kLevels = 10;
constexpr double kLevelNumberFont = 16;
constexpr double kLegendFont = 22;
constexpr double kRangeFont = 16;
constexpr double kTitleFont = 22;
constexpr double kScaleFont = 16;
constexpr double kLeadFont = 20;
// The program's line thickens by a pixel per 100 pixels of climb, the pupil's per 50.
constexpr double kProgramSteepness = 100;
constexpr double kPupilSteepness = 50;
// A total of 8000 points fills the totals chart's height.
constexpr double kTotalsScale = 8000;

QRectF between(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

int nearest(double value) {
    return ui::checkedCast<int>(ui::roundHalfEven(value));
}

void drawText(ui::Canvas& canvas, const QRectF& rect, const QString& text, QRgb colour,
              double fontSize, ui::Align horizontal, ui::Align vertical, bool wrap = false) {
    canvas.setFont(fontSize);
    canvas.setFillColor(colour);
    canvas.fillText(rect, text, wrap, 1, horizontal, vertical);
}

void paintLevelGrid(ui::Canvas& canvas, int width, int height, int cw, int ch) {
    canvas.setStrokeColor(ui::palette().chartGridLine);
    for (int k = 1; k <= kLevels; ++k) {
        canvas.drawLine(QPointF(k * cw, 2 * ch), QPointF(k * cw, height));
        drawText(canvas, between((k - 1) * cw, 2 * ch - 22, k * cw, 2 * ch), QString::number(k),
                 ui::palette().pictureText, kLevelNumberFont, ui::Align::Center, ui::Align::Center);
    }
    for (int k = 2; k <= kLevels; ++k) {
        canvas.drawLine(QPointF(1, k * ch), QPointF(width, k * ch));
    }
}

// One level's piece of a line, from its height at the level before to its height at this one,
// drawn as a band of parallel one-pixel lines.
void paintSegment(ui::Canvas& canvas, double x1, double x2, int from, int to, double steepness,
                  QRgb colour) {
    canvas.setStrokeColor(colour);
    const int extra = nearest(std::abs(from - to) / steepness);
    for (int t = 0; t <= extra + 2; ++t) {
        canvas.drawLine(QPointF(x1, from + t), QPointF(x2, to + t));
    }
}

void paintLegend(ui::Canvas& canvas, int width, const LevelChartTexts& texts) {
    using ui::Align;
    drawText(canvas, between(1, 1, width, 35), texts.inLevels, ui::palette().pictureText,
             kLegendFont, Align::Leading, Align::Center);
    drawText(canvas, between(1, 30, 121, 65), QStringLiteral("(") + texts.range + ')',
             ui::palette().chartScale, kRangeFont, Align::Leading, Align::Center);
    drawText(canvas, between(60, 1, 60 + width, 35), texts.programme, ui::palette().programme,
             kLegendFont, Align::Center, Align::Center);
    drawText(canvas, between(60, 30, 60 + width, 65), texts.myPoints, ui::palette().pupil,
             kLegendFont, Align::Center, Align::Center);
}

}  // namespace

int levelChartY(std::int32_t points, int height) {
    return nearest(height - static_cast<double>(points) * height / 1000.0);
}

void paintLevelChart(ui::Canvas& canvas, int width, int height, const LevelScoreTable& scores,
                     int levelsShown, const LevelChartTexts& texts) {
    const int cw = nearest(width / 10.0);
    const int ch = nearest(height / 10.0);
    canvas.clear(ui::palette().levelChartBackground);
    paintLevelGrid(canvas, width, height, cw, ch);

    int previousProgram = height;
    int previousPupil = height;
    for (int k = 1; k <= levelsShown; ++k) {
        const int program = levelChartY(scores[k].ProgramPoints, height);
        const int pupil = levelChartY(scores[k].PupilPoints, height);
        const double x1 = (k - 1) * cw;
        const double x2 = k * cw;
        paintSegment(canvas, x1, x2, previousProgram, program, kProgramSteepness,
                     ui::palette().programme);
        paintSegment(canvas, x1, x2, previousPupil, pupil, kPupilSteepness, ui::palette().pupil);
        previousProgram = program;
        previousPupil = pupil;
    }
    paintLegend(canvas, width, texts);
}

void paintTotalsChart(ui::Canvas& canvas, int width, int height, std::int32_t programTotal,
                      std::int32_t pupilTotal, const QString& title) {
    using ui::Align;
    canvas.clear(ui::palette().pictureBackground);
    drawText(canvas, between(1, 1, width, 60), title, ui::palette().pictureText, kTitleFont,
             Align::Leading, Align::Leading, true);

    const double step = height / 10.0;
    for (int k = 2; k <= 9; ++k) {
        drawText(canvas, between(width - 35, k * step - 12, width, k * step + step - 12),
                 QString::number(1000 - 100 * k), ui::palette().chartScale, kScaleFont,
                 Align::Leading, Align::Leading);
    }

    const auto bar = [&](int left, std::int32_t total, QRgb colour) {
        canvas.setStrokeColor(colour);
        const double top = height - static_cast<double>(total) * height / kTotalsScale;
        for (int x = left; x < left + 10; ++x) {
            canvas.drawLine(QPointF(x, height - 10), QPointF(x, top));
        }
    };
    bar(10, programTotal, ui::palette().programme);
    bar(30, pupilTotal, ui::palette().pupil);

    const std::int32_t lead = ui::checkedSub(pupilTotal, programTotal);
    const QString leadText = (lead > 0 ? QStringLiteral("+") : QString()) + QString::number(lead);
    drawText(canvas, between(width - 70, height - 35, width, height), leadText,
             lead > 0 ? ui::palette().pupil : ui::palette().programme, kLeadFont, Align::Leading,
             Align::Leading);
}

}  // namespace game

void TForm3::DrawLevelChart(int) {
    const game::LevelChartTexts texts{uiText(22), Label22.text(), uiText(17), uiText(18)};
    SharedBitmap.setSize(Panel3ViewerWidth, Panel3ViewerHeight);
    {
        ui::Canvas canvas(SharedBitmap);
        game::paintLevelChart(canvas, Panel3ViewerWidth, Panel3ViewerHeight, LevelScores,
                              LevelsOnChart, texts);
    }
    Panel3Viewer.setPicture(SharedBitmap);
    DrawTotalsChart();
}

void TForm3::DrawTotalsChart() {
    ui::Bitmap bitmap(SharedBitmap.devicePixelRatio());
    bitmap.setSize(Panel2ViewerWidth, Panel2ViewerHeight);
    {
        ui::Canvas canvas(bitmap);
        game::paintTotalsChart(canvas, Panel2ViewerWidth, Panel2ViewerHeight, ProgramTotal,
                               PupilTotal, uiText(20));
    }
    Panel2Viewer.setPicture(bitmap);
}
