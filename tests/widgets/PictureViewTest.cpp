// Which part of a picture is painted again when the next one arrives.
#include <gtest/gtest.h>

#include <QImage>

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

}  // namespace
