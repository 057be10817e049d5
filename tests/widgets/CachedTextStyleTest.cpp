// Large captions drawn once and copied give the pixels Qt's own drawing gives.
#include <memory>

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>

#include "ui/Fonts.h"
#include "ui/widgets/CachedTextStyle.h"

namespace {

// A widget drawn as the window's scene draws it: through a painter scaled and shifted by
// fractions of a pixel, over a background that is not plain, so that blending shows.
QImage drawn(QWidget& widget, double scale, QPointF shift) {
    QImage screen(static_cast<int>(widget.width() * scale) + 8,
                  static_cast<int>(widget.height() * scale) + 8, QImage::Format_RGB32);
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            screen.setPixel(x, y, qRgb(200 + x % 40, 180 + y % 60, 90));
        }
    }
    QPainter painter(&screen);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.translate(shift);
    painter.scale(scale, scale);
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return screen;
}

template <typename Widget>
std::unique_ptr<Widget> made(const QString& text, int pixelSize, QStyle* style) {
    auto widget = std::make_unique<Widget>(text);
    widget->setStyle(style);
    widget->setFont(ui::makeFont(pixelSize));
    widget->resize(180, 56);
    return widget;
}

TEST(CachedTextStyle, GivesQtsOwnPixelsAndDrawsEachTextOnce) {
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Fusion")));
    widgets::CachedTextStyle cached;
    struct Case {
        const char* what;
        double scale;
        QPointF shift;
        int pixelSize;
        bool copied;  // above Qt's glyph cache at that scale
    };
    const Case cases[] = {
        {"4K, a caption", 2.971111, QPointF(18.5, 0.25), 26, true},
        {"4K, another place", 2.971111, QPointF(113.076, 1937.17 - 1930), 24, true},
        {"a whole scale", 3, QPointF(0, 0), 28, true},
        {"1080p, a caption", 1.485556, QPointF(0.7, 0.3), 26, false},
        {"1080p, the exercise", 1.485556, QPointF(0.7, 0.3), 72, true},
        {"small text at 4K", 2.971111, QPointF(0.5, 0.5), 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto reference = made<QLabel>(QStringLiteral("Статистика 7"), c.pixelSize, plain.get());
        auto label = made<QLabel>(QStringLiteral("Статистика 7"), c.pixelSize, &cached);
        auto referenceButton =
            made<QPushButton>(QStringLiteral("Деление"), c.pixelSize, plain.get());
        auto button = made<QPushButton>(QStringLiteral("Деление"), c.pixelSize, &cached);
        const int before = cached.picturesDrawn();
        for (int time = 1; time <= 2; ++time) {
            SCOPED_TRACE(time);
            EXPECT_EQ(drawn(*label, c.scale, c.shift), drawn(*reference, c.scale, c.shift));
            EXPECT_EQ(drawn(*button, c.scale, c.shift), drawn(*referenceButton, c.scale, c.shift));
        }
        // Drawn the first time only, once for each of the two texts.
        EXPECT_EQ(cached.picturesDrawn() - before, c.copied ? 2 : 0);
    }
}

}  // namespace
