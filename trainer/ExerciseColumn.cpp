#include "trainer/ExerciseColumn.h"

#include <algorithm>

#include "trainer/Marks.h"
#include "ui/Look.h"

namespace trainer {

namespace {

constexpr int kListLines = 10;

long long rounded(double value) {
    return ui::roundHalfEven(value);
}

void paintAnswers(ui::Canvas& canvas, const ColumnContent& c, long long x0) {
    const QRectF listSpan(QPointF(x0 + 20, 0), QPointF(c.width - 20, 0));
    const QRectF crossSpan(QPointF(c.width - 30, 0), QPointF(c.width - 5, 0));
    const int count = static_cast<int>(std::min<std::size_t>(c.answers->size(), kListLines));
    for (int i = 1; i <= count; ++i) {
        const RecentAnswer& answer = (*c.answers)[static_cast<std::size_t>(i - 1)];
        const double top = (i - 1) * c.rowHeight;
        const double bottom = top + c.rowHeight;
        const QRectF listRect(QPointF(listSpan.left(), top), QPointF(listSpan.right(), bottom));
        const QRectF crossRect(QPointF(crossSpan.left(), top), QPointF(crossSpan.right(), bottom));

        canvas.setFillColor(ui::palette().pictureBackground);
        canvas.fillRoundRect(listRect, 2, 2);
        canvas.fillRoundRect(crossRect, 2, 2);
        canvas.setFillColor(ui::palette().pictureText);
        canvas.fillText(listRect, answerText(c.operation, answer), false, 1, ui::Align::Leading,
                        ui::Align::Center);
        if (answer.Wrong) {
            canvas.setFillColor(ui::palette().wrongCross);
            canvas.fillText(crossRect, QStringLiteral("X"), false, 1, ui::Align::Leading,
                            ui::Align::Center);
        }
    }
}

void paintMarkRow(ui::Canvas& canvas, const ColumnContent& c, int row) {
    const double a = c.height / 9.0;
    const auto yc = ui::checkedCast<std::uint16_t>(rounded((row - 1) * a + a / 2) - 3);
    const long long d = rounded(a / 3);

    canvas.setFillColor(ui::palette().pictureBackground);
    canvas.fillRoundRect(QRectF(QPointF(5, yc - d - 2), QPointF(90, yc + d + 2)), 2, 2);

    const persistence::MarkRow& marks = (*c.marks)[row];
    // A history longer than its ten slots can only come from a damaged file: show the ten.
    const int count = std::min<int>((*c.markCounts)[row], 10);
    for (int slot = 1; slot <= count; ++slot) {
        QRgb colour;
        if (markColour(marks[slot], colour)) {
            canvas.setStrokeColor(colour);
        }
        const double top = markBarTop(marks[slot], yc - d, yc + d);
        for (int x = 8 * slot + 1; x <= 8 * slot + 6; ++x) {
            canvas.drawLine(QPointF(x, top), QPointF(x, yc + d));
        }
    }
}

}  // namespace

QString answerText(int operation, const RecentAnswer& answer) {
    if (operation == persistence::kMultiplication) {
        return QStringLiteral("%1x%2=%3").arg(answer.First).arg(answer.Second).arg(answer.Clicked);
    }
    return QStringLiteral("%1:%2=%3")
        .arg(answer.First * answer.Second)
        .arg(answer.First)
        .arg(answer.Clicked);
}

void paintExerciseColumn(ui::Canvas& canvas, const ColumnContent& c) {
    canvas.setFillColor(ui::palette().pictureText);
    canvas.setFont(29);
    const long long x0 = rounded(c.width / 2.5);

    canvas.setStrokeColor(ui::palette().pictureLine);
    canvas.drawLine(QPointF(x0, 10), QPointF(x0, c.height - 10));

    if (c.answers != nullptr) {
        paintAnswers(canvas, c, x0);
    }
    if (c.rows == 0) {
        for (int row = 1; row <= 9; ++row) {
            paintMarkRow(canvas, c, row);
        }
    } else if (c.rows != -1) {
        if (c.rows < 1 || c.rows > 9) {
            ui::throwRangeError(c.rows, 1, 9);
        }
        paintMarkRow(canvas, c, c.rows);
    }
}

}  // namespace trainer

void TForm3::DrawExerciseColumn(std::uint8_t operation, std::int32_t rows, std::uint8_t clear,
                                std::uint8_t list) {
    // Drawing goes over the present picture unless it is cleared. A cleared column is drawn in a
    // picture of its own, not in a copy of the one on the screen.
    if (clear == 1) {
        SharedBitmap.setSize(Panel3ViewerWidth, Panel3ViewerHeight);
    } else {
        SharedBitmap.drawOver(Panel3Viewer.picture(), Panel3ViewerWidth, Panel3ViewerHeight);
    }
    {
        ui::Canvas canvas(SharedBitmap);
        if (clear == 1) {
            canvas.clear(ui::palette().pictureBackground);
        }
        trainer::ColumnContent content;
        content.width = Panel3ViewerWidth;
        content.height = Panel3ViewerHeight;
        content.rowHeight = ColumnRowHeight;
        content.operation = operation;
        content.answers = list != 0 ? &RecentAnswers[operation] : nullptr;
        content.rows = rows;
        content.marks = &Progress.MarkHistory[operation];
        content.markCounts = &Progress.MarkHistoryLength[operation];
        trainer::paintExerciseColumn(canvas, content);
    }
    Panel3Viewer.setPicture(SharedBitmap);
}
