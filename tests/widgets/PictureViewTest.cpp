// Which part of a picture is painted again when the next one arrives.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "ui/widgets/PictureView.h"

namespace {

QImage plain(QSize size, QRgb colour, double ratio = 1.0) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    image.setDevicePixelRatio(ratio);
    return image;
}

TEST(ChangedArea, BoundsEveryDifferingPixelAndNothingElse) {
    const QImage before = plain(QSize(40, 30), 0xFF101010);
    struct Case {
        const char* what;
        QList<QPoint> changed;
        QRect expected;
    };
    const Case cases[] = {
        {"nothing", {}, QRect()},
        {"one pixel", {QPoint(7, 5)}, QRect(7, 5, 1, 1)},
        {"the corners", {QPoint(0, 0), QPoint(39, 29)}, QRect(0, 0, 40, 30)},
        {"two pixels apart", {QPoint(30, 2), QPoint(3, 20)}, QRect(3, 2, 28, 19)},
        {"last column", {QPoint(39, 10), QPoint(39, 11)}, QRect(39, 10, 1, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QImage after = before.copy();
        for (const QPoint& p : c.changed) {
            after.setPixel(p, 0xFFFF0000);
        }
        EXPECT_EQ(widgets::changedArea(before, after), c.expected);
    }
}

TEST(ChangedArea, IsTheWholeNewPictureWhenThePicturesCannotBeCompared) {
    const QImage after = plain(QSize(40, 30), 0xFF101010, 2.0);
    EXPECT_EQ(widgets::changedArea(QImage(), after), after.rect());
    EXPECT_EQ(widgets::changedArea(plain(QSize(40, 31), 0xFF101010, 2.0), after), after.rect());
    EXPECT_EQ(widgets::changedArea(plain(QSize(40, 30), 0xFF101010, 1.0), after), after.rect());
    EXPECT_EQ(widgets::changedArea(after.convertToFormat(QImage::Format_RGB32), after),
              after.rect());
    EXPECT_EQ(widgets::changedArea(after, QImage()), QRect());
}

// A viewer drawn as the window's scene draws it: through a painter scaled and shifted by fractions
// of a pixel, over a background that is not plain, so that blending at its edges shows.
QImage screenBeneath(QSize size) {
    QImage screen(size, QImage::Format_RGB32);
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            screen.setPixel(x, y, qRgb(200 + x % 40, 180 + y % 60, 90));
        }
    }
    return screen;
}

QImage drawnOnScreen(QWidget& view, double scale, QPointF shift) {
    QImage screen = screenBeneath(QSize(static_cast<int>(view.width() * scale) + 8,
                                        static_cast<int>(view.height() * scale) + 8));
    QPainter painter(&screen);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.translate(shift);
    painter.scale(scale, scale);
    view.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return screen;
}

// A widget that has Qt scale its picture smoothly on every repaint.
class ScaledByQt : public QWidget {
  public:
    ScaledByQt(const widgets::PictureView& view) : view_(view) { resize(view.size()); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.scale(view_.pictureScale(), view_.pictureScale());
        painter.drawImage(QPointF(0, 0), view_.picture());
    }

  private:
    const widgets::PictureView& view_;
};

QImage qtsOwn(const widgets::PictureView& view, double scale, QPointF shift) {
    ScaledByQt reference(view);
    return drawnOnScreen(reference, scale, shift);
}

// Where two screens differ, for a readable failure.
QString differences(const QImage& one, const QImage& other) {
    if (one.size() != other.size()) {
        return QStringLiteral("sizes differ");
    }
    int count = 0;
    QRect where;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            if (one.pixel(x, y) != other.pixel(x, y)) {
                ++count;
                where |= QRect(x, y, 1, 1);
            }
        }
    }
    return QStringLiteral("%1 pixels within (%2, %3) %4 x %5")
        .arg(count)
        .arg(where.x())
        .arg(where.y())
        .arg(where.width())
        .arg(where.height());
}

#define EXPECT_SAME_SCREEN(one, other)                          \
    do {                                                        \
        const QImage a = (one);                                 \
        const QImage b = (other);                               \
        EXPECT_TRUE(a == b) << differences(a, b).toStdString(); \
    } while (false)

// A picture with detail in every pixel, so that any shift of the smoothing shows.
QImage detailed(QSize size, double ratio, int seed, int alpha = 255) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            // Translucent, if at all, along a band, as text over a clear picture is.
            const int a = (x / 7) % 3 == 0 ? alpha : 255;
            image.setPixel(
                x, y,
                qPremultiply(qRgba((x * 37 + seed) % 256, (y * 53 + x * seed) % 256, 120, a)));
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

TEST(PictureView, APictureShownAgainIsScaledOnceAndGivesQtsOwnPixels) {
    struct Case {
        const char* what;
        double ratio;        // of the pictures
        double scale;        // of the window
        double bitmapScale;  // of the viewer
        QPointF shift;
        bool kept;  // smoothly scaled and opaque, so kept scaled
        int alpha = 255;
    };
    const Case cases[] = {
        {"4K", 3, 2.971111, 0.99, QPointF(18.5, 0.25), true},
        {"4K, another place", 3, 2.971111, 1.0, QPointF(113.076, 7.17), true},
        {"one to one", 2, 2, 1.0, QPointF(3, 1), false},
        {"4K, translucent", 3, 2.971111, 0.99, QPointF(18.5, 0.25), false, 140},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        widgets::PictureView view;
        view.resize(60, 40);
        view.setPictureScale(c.bitmapScale);
        const QSize pixels(static_cast<int>(60 * c.ratio), static_cast<int>(40 * c.ratio));
        const QImage table = detailed(pixels, c.ratio, 3, c.alpha);
        QImage statistics = detailed(pixels, c.ratio, 7, c.alpha);
        // Shown, switched away from, shown again twice (kept the first of them), then changed.
        view.setPicture(table);
        EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, c.shift), qtsOwn(view, c.scale, c.shift));
        view.setPicture(statistics);
        EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, c.shift), qtsOwn(view, c.scale, c.shift));
        EXPECT_EQ(view.scaledPicturesMade(), 0);
        for (int time = 1; time <= 2; ++time) {
            SCOPED_TRACE(time);
            view.setPicture(table);
            EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, c.shift),
                               qtsOwn(view, c.scale, c.shift));
            view.setPicture(statistics);
            EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, c.shift),
                               qtsOwn(view, c.scale, c.shift));
        }
        EXPECT_EQ(view.scaledPicturesMade(), c.kept ? 2 : 0);
        // Painted over in its own memory, once the viewer has let go of it, the picture is
        // another one: never shown with the scaled pixels kept of it before.
        view.setPicture(table);
        statistics.setPixel(10, 10, qRgb(255, 0, 0));
        for (int time = 1; time <= 2; ++time) {
            SCOPED_TRACE(time);
            view.setPicture(statistics);
            EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, c.shift),
                               qtsOwn(view, c.scale, c.shift));
            view.setPicture(table);
        }
        // Elsewhere on the screen it is scaled for that place.
        const QPointF elsewhere = c.shift + QPointF(0.3, 0.6);
        view.setPicture(table);
        EXPECT_SAME_SCREEN(drawnOnScreen(view, c.scale, elsewhere),
                           qtsOwn(view, c.scale, elsewhere));
    }
}

}  // namespace
