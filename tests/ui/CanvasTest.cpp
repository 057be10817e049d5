#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <QPainter>
#include <QtMath>

#include "ui/Bitmap.h"
#include "ui/Clock.h"

namespace {

TEST(Canvas, DrawsInDesignUnitsAtAnyPixelRatio) {
    for (double ratio : {1.0, 2.0, 3.0}) {
        ui::Bitmap bitmap(ratio);
        bitmap.setSize(100, 50);
        EXPECT_EQ(bitmap.image().width(), static_cast<int>(100 * ratio));
        {
            ui::Canvas canvas(bitmap);
            canvas.clear(0xFF696969);
            canvas.setFillColor(0xFFC0C0C0);
            canvas.fillRoundRect(QRectF(10, 10, 20, 20), 2, 2);
            canvas.setStrokeColor(0xFFFF0000);
            canvas.drawLine(QPointF(60, 5), QPointF(60, 45));
        }
        EXPECT_EQ(bitmap.pixelAt(20, 20), 0xFFC0C0C0u) << ratio;
        EXPECT_EQ(bitmap.pixelAt(5, 5), 0xFF696969u) << ratio;
        EXPECT_EQ(bitmap.pixelAt(60, 25), 0xFFFF0000u) << ratio;
        EXPECT_EQ(bitmap.pixelAt(62, 25), 0xFF696969u) << ratio;
    }
}

// Large pictures live in memory of their own: a viewer's copy must outlive the bitmap and its
// redraws, and a size that fills whole huge pages must behave as one that does not.
TEST(Bitmap, LargePicturesOutliveTheirBitmapWhileAViewerHoldsThem) {
    for (QSize size : {QSize(512, 1024), QSize(1000, 600), QSize(1280, 727)}) {
        QImage shown;
        {
            ui::Bitmap bitmap;
            bitmap.setSize(size.width(), size.height());
            EXPECT_TRUE(bitmap.image().isDetached());
            EXPECT_EQ(bitmap.image().pixel(size.width() - 1, size.height() - 1), 0u)
                << size.width();
            {
                ui::Canvas canvas(bitmap);
                canvas.clear(0xFF123456);
            }
            shown = bitmap.image();
            // Drawn again while the copy is shown: the bitmap draws into another picture.
            bitmap.setSize(size.width(), size.height());
            {
                ui::Canvas canvas(bitmap);
                canvas.clear(0xFF654321);
            }
            EXPECT_EQ(bitmap.pixelAt(size.width() - 1, 0), 0xFF654321u) << size.width();
            bitmap.setSize(10, 10);
        }
        EXPECT_EQ(shown.pixel(0, 0), 0xFF123456u) << size.width();
        EXPECT_EQ(shown.pixel(size.width() - 1, size.height() - 1), 0xFF123456u) << size.width();
    }
}

// A viewer keeps showing its picture while the next one is drawn over a copy of it; rounds reuse
// the picture the viewer let go of.
TEST(Bitmap, DrawingOverAShownPictureLeavesItAsItIs) {
    for (double ratio : {1.0, 1.4856, 3.0}) {
        ui::Bitmap bitmap(ratio);
        bitmap.setSize(100, 50);
        {
            ui::Canvas canvas(bitmap);
            canvas.clear(0xFF800000);
        }
        QImage shown = bitmap.image();
        for (int round = 0; round < 3; ++round) {
            EXPECT_TRUE(bitmap.drawOver(shown, 100, 50));
            {
                ui::Canvas canvas(bitmap);
                canvas.clearRect(QRectF(10 + round * 30, 10, 20, 20), 0xFF000080);
            }
            const QImage next = bitmap.image();
            const QPoint drawnNow(qFloor((20 + round * 30) * ratio), qFloor(20 * ratio));
            EXPECT_EQ(shown.pixel(drawnNow), 0xFF800000u) << ratio << " round " << round;
            shown = next;
            for (int drawn = 0; drawn <= round; ++drawn) {
                EXPECT_EQ(bitmap.pixelAt(20 + drawn * 30, 20), 0xFF000080u) << ratio;
            }
            EXPECT_EQ(bitmap.pixelAt(95, 45), 0xFF800000u) << ratio;
        }
    }
}

TEST(Canvas, TextIsDrawnInTheFillColourAndMeasuredWithTheBundledFont) {
    ui::Bitmap bitmap;
    bitmap.setSize(200, 60);
    {
        ui::Canvas canvas(bitmap);
        canvas.clear(0xFFFFFFFF);
        canvas.setFont(16);
        const double narrow = canvas.textWidth("good");
        const double wide = canvas.textWidth("good good");
        EXPECT_GT(narrow, 20);
        EXPECT_GT(wide, 2 * narrow);
        canvas.setFillColor(0xFFFF0000);
        canvas.fillText(QRectF(0, 0, 200, 60), "XXXX", false, 1, ui::Align::Leading,
                        ui::Align::Center);
    }
    int red = 0;
    for (int x = 0; x < 60; ++x) {
        if (qRed(bitmap.image().pixel(x, 30)) > 200 && qGreen(bitmap.image().pixel(x, 30)) < 80) {
            ++red;
        }
    }
    EXPECT_GT(red, 5);
}

// On another device's painter (a PDF's page) a text stays inside its box: one too wide for it is
// cut at the box's edge, one that fits is drawn whole.
TEST(Canvas, TextOnAnotherPainterStaysInsideItsBox) {
    QImage page(300, 60, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    ui::Bitmap bitmap;
    bitmap.setSize(300, 60);
    double fitting = 0;
    {
        QPainter painter(&page);
        ui::Canvas canvas(bitmap, painter);
        canvas.setFont(20);
        canvas.setFillColor(0xFF000000);
        fitting = canvas.textWidth("WW");
        canvas.fillText(QRectF(0, 0, 40, 30), "WWWWWWWW", false, 1, ui::Align::Leading,
                        ui::Align::Center);
        canvas.fillText(QRectF(0, 30, 200, 30), "WW", false, 1, ui::Align::Leading,
                        ui::Align::Center);
    }
    // The rightmost inked column of a band of rows.
    const auto inkRight = [&](int top, int bottom) {
        int right = -1;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    right = std::max(right, x);
                }
            }
        }
        return right;
    };
    EXPECT_GT(inkRight(0, 30), 30);
    EXPECT_LE(inkRight(0, 30), 40) << "the text ran over its box";
    EXPECT_GE(inkRight(30, 60), fitting - 4);
}

TEST(PictureRatio, IsTheScreensRatioUntilLargeTextWouldBeDrawnAsOutlines) {
    const struct {
        double screen;
        double picture;
    } cases[] = {{1.0, 1.0}, {1.4856, 1.4856}, {1.6, 1.6}, {1.7, 2.0},
                 {2.0, 2.0}, {2.9711, 3.0},    {3.0, 3.0}, {4.2, 5.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ui::pictureRatio(c.screen), c.picture) << c.screen;
    }
}

// The rectangle of every pixel with any alpha, whatever the colour of the clear ones: ink at the
// picture's edges, a single dot, ink only in the middle of a row, and none.
TEST(InkBounds, HoldsEveryPixelWithAlphaAndNoOther) {
    struct Case {
        const char* what;
        std::vector<QPoint> ink;
        QRect expected;
    };
    const Case cases[] = {
        {"none", {}, QRect()},
        {"one dot", {{5, 3}}, QRect(5, 3, 1, 1)},
        {"corners", {{0, 0}, {36, 20}}, QRect(0, 0, 37, 21)},
        {"right edge, lower rows", {{36, 7}, {30, 9}}, QRect(30, 7, 7, 3)},
        {"a row's middle after its ends", {{2, 4}, {34, 4}, {17, 12}}, QRect(2, 4, 33, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32}) {
            QImage image(37, 21, format);
            // Clear pixels that still carry a colour, as an image that is not premultiplied may.
            image.fill(format == QImage::Format_ARGB32 ? qRgba(200, 10, 10, 0) : 0u);
            for (const QPoint& dot : c.ink) {
                image.setPixel(dot, qRgba(0, 0, 0, 1));
            }
            EXPECT_EQ(ui::inkBounds(image), c.expected);
        }
    }
}

TEST(Clock, CountsDaysSinceTheEndOf1899) {
    ui::SystemClock clock;
    const double now = clock.now();
    // 2020-01-01 is day 43831.
    EXPECT_GT(now, 43831);
    ui::FixedClock fixed(1.5);
    EXPECT_DOUBLE_EQ(fixed.now(), 1.5);
    EXPECT_FALSE(fixed.shortDate(43831.25).isEmpty());
}

}  // namespace

namespace {

// Large text is copied from a picture drawn once where that gives the same pixels; it must look
// as if Qt drew it in place, at whole and at fractional pixel ratios, wherever the box lies.
TEST(Canvas, LargeTextDrawnAgainLooksAsDrawnDirectly) {
    const QString text = QStringLiteral("12:3=45");
    for (const double ratio : {3.0, 2.9711, 1.4856 * 1.5}) {
        for (const QRectF box : {QRectF(20, 10, 130, 45), QRectF(21.3, 10.7, 130, 45)}) {
            const QSize pixels(qCeil(200 * ratio), qCeil(70 * ratio));
            QImage direct(pixels, QImage::Format_ARGB32_Premultiplied);
            direct.setDevicePixelRatio(ratio);
            direct.fill(QColor(0x69, 0x69, 0x69));
            {
                QPainter painter(&direct);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
                painter.setFont(ui::makeFont(29));
                painter.setPen(QColor(Qt::white));
                painter.setClipRect(box);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
            }

            ui::Bitmap bitmap(ratio);
            bitmap.setSize(200, 70);
            for (int pass = 0; pass < 2; ++pass) {  // the second pass copies the stored picture
                {
                    ui::Canvas canvas(bitmap);
                    canvas.clear(0xFF696969);
                    canvas.setFont(29);
                    canvas.setFillColor(0xFFFFFFFF);
                    canvas.fillText(box, text, false, 1, ui::Align::Leading, ui::Align::Center);
                }
                ASSERT_EQ(bitmap.image().size(), direct.size());
                int differing = 0;
                int inked = 0;
                for (int y = 0; y < direct.height(); ++y) {
                    for (int x = 0; x < direct.width(); ++x) {
                        const QRgb a = direct.pixel(x, y);
                        const QRgb b = bitmap.image().pixel(x, y);
                        inked += a != 0xFF696969u ? 1 : 0;
                        if (std::abs(qRed(a) - qRed(b)) > 2 ||
                            std::abs(qGreen(a) - qGreen(b)) > 2 ||
                            std::abs(qBlue(a) - qBlue(b)) > 2) {
                            ++differing;
                        }
                    }
                }
                EXPECT_GT(inked, 1000);
                EXPECT_EQ(differing, 0) << "ratio " << ratio << ", box at " << box.x() << ", "
                                        << box.y() << ", pass " << pass;
            }
        }
    }
}

}  // namespace
