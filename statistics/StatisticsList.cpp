#include "statistics/StatisticsList.h"

#include "ui/Look.h"

namespace statistics {

namespace {

constexpr double kHeadingFont = 20;
constexpr double kListFont = 26;

long long rounded(double value) {
    return ui::roundHalfEven(value);
}

QRectF between(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

}  // namespace

void paintStatisticsList(ui::Canvas& canvas, const StatisticsListContent& content) {
    const int w = content.width;
    const int h = content.height;
    const long long rowHeight = rounded(h / 12.0);
    const long long split = rounded(w / 2.3);
    const long long listLeft = rounded(w / 1.8);
    const double numberRow = h / 9.0;

    canvas.clear(ui::palette().pictureBackground);
    canvas.setFillColor(ui::palette().pictureText);
    canvas.setFont(kHeadingFont);
    const double headingBottom = 2 * rowHeight - 5;
    canvas.fillText(between(1, 0, split, headingBottom), content.countsHeading, true, 1,
                    ui::Align::Center, ui::Align::Leading);
    canvas.fillText(between(split, 0, w, headingBottom), content.errorsHeading, true, 1,
                    ui::Align::Center, ui::Align::Leading);

    canvas.setStrokeColor(ui::palette().pictureLine);
    canvas.drawLine(QPointF(split, 10), QPointF(split, h - 10));
    canvas.setFont(kListFont);

    for (int r = 1; r <= content.typicalErrors.size(); ++r) {
        canvas.fillText(between(listLeft, r * rowHeight + 15, w, (r + 1) * rowHeight + 15),
                        content.typicalErrors[r - 1], false, 1, ui::Align::Leading,
                        ui::Align::Leading);
    }

    // Each total sits level with its number's button beside the list.
    const long long halfHeight = rounded(numberRow / 3);
    for (int i = NumberTotals::low; i <= NumberTotals::high; ++i) {
        const long long centre = rounded((i - 1) * numberRow + numberRow / 2) - 3;
        canvas.fillText(between(1, centre - halfHeight, split, centre + halfHeight),
                        QString::number(content.totals[i]), false, 1, ui::Align::Center,
                        ui::Align::Center);
    }
}

}  // namespace statistics
