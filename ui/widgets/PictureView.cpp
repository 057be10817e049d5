#include "ui/widgets/PictureView.h"

#include <algorithm>
#include <cstring>

#include <QMouseEvent>
#include <QPainter>

namespace widgets {

namespace {

bool comparable(const QImage& before, const QImage& after) {
    return !before.isNull() && before.size() == after.size() && before.format() == after.format() &&
           before.devicePixelRatio() == after.devicePixelRatio();
}

// Rows are compared whole, then the differing rows pixel by pixel from either side: a change is
// usually one cell, and so a short band of the picture.
QRect changedPixels(const QImage& before, const QImage& after) {
    const int height = after.height();
    const auto rowBytes = static_cast<size_t>(after.bytesPerLine());
    const auto rowDiffers = [&](int y) {
        return std::memcmp(before.constScanLine(y), after.constScanLine(y), rowBytes) != 0;
    };
    int top = 0;
    while (top < height && !rowDiffers(top)) {
        ++top;
    }
    if (top == height) {
        return {};
    }
    int bottom = height - 1;
    while (!rowDiffers(bottom)) {
        --bottom;
    }
    if (after.depth() != 32) {
        return QRect(0, top, after.width(), bottom - top + 1);
    }
    int left = after.width();
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto* was = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const quint32*>(after.constScanLine(y));
        int x = 0;
        while (x < left && was[x] == now[x]) {
            ++x;
        }
        left = std::min(left, x);
        x = after.width() - 1;
        while (x > right && was[x] == now[x]) {
            --x;
        }
        right = std::max(right, x);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

QRect changedArea(const QImage& before, const QImage& after) {
    if (after.isNull()) {
        return {};
    }
    if (!comparable(before, after)) {
        return after.rect();
    }
    if (before.cacheKey() == after.cacheKey()) {
        return {};
    }
    return changedPixels(before, after);
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setPicture(const QImage& picture, std::optional<QRectF> changedUnits) {
    QRect changed;
    if (changedUnits && comparable(picture_, picture)) {
        const double ratio = picture.devicePixelRatio();
        const QRectF pixels(changedUnits->x() * ratio, changedUnits->y() * ratio,
                            changedUnits->width() * ratio, changedUnits->height() * ratio);
        changed = pixels.toAlignedRect() & picture.rect();
    } else {
        changed = changedArea(picture_, picture);
    }
    const bool wasShown = !picture_.isNull();
    picture_ = picture;
    if (picture_.isNull()) {
        if (wasShown) {
            update();
        }
        return;
    }
    if (!changed.isEmpty()) {
        update(shownArea(changed));
    }
}

QRect PictureView::shownArea(const QRect& pixels) const {
    const double unitsPerPixel = scale_ / picture_.devicePixelRatio();
    const QRectF area(pixels.x() * unitsPerPixel, pixels.y() * unitsPerPixel,
                      pixels.width() * unitsPerPixel, pixels.height() * unitsPerPixel);
    return area.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void PictureView::setPictureScale(double scale) {
    if (scale != scale_) {
        scale_ = scale;
        update();
    }
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(scale_, scale_);
    painter.drawImage(QPointF(0, 0), picture_);
}

// Any mouse button presses and releases alike.
void PictureView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onPress) {
        onPress(event->position());
    }
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (onRelease) {
        onRelease(event->position());
    }
}

}  // namespace widgets
