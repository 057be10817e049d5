#include "app/Form.h"
#include "app/Texts.h"
#include "ui/Look.h"

namespace {

constexpr double kKeyFont = 15;
constexpr double kSwatch = 17;

}  // namespace

// Two columns of swatches, each with its error rates: what the table's colours (and, where the
// look draws them, its dots) mean.
void TForm3::ShowStatisticsKey() {
    const bool shown = Button14.tag() == 1;
    if (StatisticsKeyPanel.visible() != shown) {
        StatisticsKeyPanel.setVisible(shown);
    }
    const std::pair<ui::Look, int> wanted{ui::currentLook(), LanguageRow};
    if (!shown || drawnStatisticsKey_ == wanted) {
        return;
    }
    const ui::Palette& palette = ui::palette();
    const Language language = languageOf(LanguageRow, AmericanEnglish);
    const int width = static_cast<int>(StatisticsKey.width());
    const int height = static_cast<int>(StatisticsKey.height());
    SharedBitmap.setSize(width, height);
    {
        ui::Canvas canvas(SharedBitmap);
        canvas.clear(palette.pictureBackground);
        canvas.setFont(kKeyFont);
        const double rowHeight = height / 3.0;
        // The first column holds the longer rates.
        const double columns[2][2] = {{3, width * 0.55}, {width * 0.55, width - 2.0}};
        constexpr int kOrder[] = {1, 2, 3, 4, 0};
        for (int i = 0; i < 5; ++i) {
            const int mark = kOrder[i];
            const double left = columns[i / 3][0];
            const double right = columns[i / 3][1];
            const double top = (i % 3) * rowHeight;
            const QRectF swatch(left, top + (rowHeight - kSwatch) / 2, kSwatch, kSwatch);
            canvas.setFillColor(palette.bands[mark]);
            canvas.fillRoundRect(swatch, 2, 2);
            game::paintBandSign(canvas, swatch.topLeft(), static_cast<std::uint8_t>(mark), 3);
            canvas.setFillColor(palette.pictureText);
            canvas.fillText(
                QRectF(QPointF(left + kSwatch + 3, top), QPointF(right, top + rowHeight)),
                statisticsKeyText(language, mark), false, 1, ui::Align::Leading, ui::Align::Center);
        }
    }
    StatisticsKey.setPicture(SharedBitmap);
    drawnStatisticsKey_ = wanted;
}
