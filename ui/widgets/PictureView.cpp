#include "ui/widgets/PictureView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include "ui/Bitmap.h"

namespace widgets {

namespace {

// Scaled pictures kept per viewer: the two tables a switch alternates between.
constexpr std::size_t kScaledKept = 2;
// Pictures remembered as shown, to tell a picture shown again from a new one.
constexpr std::size_t kShownRemembered = 4;

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

bool opaque(const QImage& picture) {
    if (!picture.hasAlphaChannel()) {
        return true;
    }
    if (picture.format() != QImage::Format_ARGB32_Premultiplied &&
        picture.format() != QImage::Format_ARGB32) {
        return false;
    }
    // Read once: a call per pixel took longer than the pixels themselves.
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb all = 0xFF000000;
        for (int x = 0; x < width; ++x) {
            all &= line[x];
        }
        if (qAlpha(all) != 255) {
            return false;
        }
    }
    return true;
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
    if (wasShown && std::find(shownBefore_.begin(), shownBefore_.end(), picture_.cacheKey()) ==
                        shownBefore_.end()) {
        shownBefore_.push_back(picture_.cacheKey());
        if (shownBefore_.size() > kShownRemembered) {
            shownBefore_.erase(shownBefore_.begin());
        }
    }
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

QRectF PictureView::opaqueArea() const {
    if (picture_.isNull() ||
        std::find(opaque_.begin(), opaque_.end(), picture_.cacheKey()) == opaque_.end()) {
        return {};
    }
    const QSizeF units = picture_.deviceIndependentSize();
    return QRectF(0, 0, units.width() * scale_, units.height() * scale_) & QRectF(rect());
}

void PictureView::setPictureScale(double scale) {
    if (scale != scale_) {
        scale_ = scale;
        update();
    }
}

bool PictureView::scalesSmoothly(QPainter& painter) {
    const QTransform device = painter.deviceTransform();
    return painter.paintEngine() != nullptr &&
           painter.paintEngine()->type() == QPaintEngine::Raster &&
           device.type() == QTransform::TxScale && device.m11() > 0 && device.m22() > 0 &&
           painter.opacity() == 1.0 &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           // A widget drawn into the scene may have its scale between the world and the device.
           (painter.worldTransform().inverted() * device).type() <= QTransform::TxScale;
}

const PictureView::Scaled* PictureView::scaledFor(const QTransform& device, const QPoint& whole,
                                                  bool makeIt) {
    const QTransform placed = device * QTransform::fromTranslate(-whole.x(), -whole.y());
    for (auto it = scaled_.begin(); it != scaled_.end(); ++it) {
        if (it->source == picture_.cacheKey() && it->device == placed) {
            std::rotate(scaled_.begin(), it, it + 1);
            return &scaled_.front();
        }
    }
    if (!makeIt ||
        std::find(notOpaque_.begin(), notOpaque_.end(), picture_.cacheKey()) != notOpaque_.end()) {
        return nullptr;
    }
    // Qt blends a translucent pixel scaled straight onto the screen with another rounding than
    // when it lays a picture over it: only an opaque picture gives the same pixels both ways.
    if (!opaque(picture_)) {
        notOpaque_.push_back(picture_.cacheKey());
        if (notOpaque_.size() > kShownRemembered) {
            notOpaque_.erase(notOpaque_.begin());
        }
        return nullptr;
    }
    if (std::find(opaque_.begin(), opaque_.end(), picture_.cacheKey()) == opaque_.end()) {
        opaque_.push_back(picture_.cacheKey());
        if (opaque_.size() > kShownRemembered) {
            opaque_.erase(opaque_.begin());
        }
    }
    // Painted as the screen would be painted, on the same fraction of a pixel, over nothing.
    const QRectF bounds = placed.mapRect(QRectF(QPointF(0, 0), picture_.deviceIndependentSize()));
    const QRect pixels = bounds.toAlignedRect();
    Scaled made;
    made.source = picture_.cacheKey();
    made.device = placed;
    made.offset = pixels.topLeft();
    // The oldest one kept makes room, and lends its memory when it has the size: fresh memory
    // costs more to touch than the scaling itself on a virtual machine. It is cleared all the
    // same: the edges of a picture on a fraction of a pixel blend into what lies there.
    QImage room;
    if (scaled_.size() >= kScaledKept) {
        room = std::move(scaled_.back().pixels);
        scaled_.pop_back();
    }
    made.pixels = !room.isNull() && room.size() == pixels.size() && room.isDetached()
                      ? std::move(room)
                      : ui::largePicture(pixels.size());
    made.pixels.fill(Qt::transparent);
    {
        QPainter painter(&made.pixels);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setTransform(placed * QTransform::fromTranslate(-pixels.x(), -pixels.y()));
        painter.drawImage(QPointF(0, 0), picture_);
    }
    ++scaledMade_;
    scaled_.insert(scaled_.begin(), std::move(made));
    return &scaled_.front();
}

void PictureView::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(scale_, scale_);
    const QTransform device = painter.deviceTransform();
    if (scalesSmoothly(painter) && std::abs(device.m11() - picture_.devicePixelRatio()) > 1e-9) {
        // Made for a picture shown again, when most of it is repainted: a press that changes a
        // cell repaints that cell alone. A picture merely repainted is not worth it: the window's
        // first frame and the frame after it paint every picture twice.
        const QRect area = event->rect() & rect();
        const bool mostOfIt = 2 * static_cast<qint64>(area.width()) * area.height() >=
                              static_cast<qint64>(width()) * height();
        const bool shownAgain = std::find(shownBefore_.begin(), shownBefore_.end(),
                                          picture_.cacheKey()) != shownBefore_.end();
        const QPointF origin = device.map(QPointF(0, 0));
        const QPoint whole(static_cast<int>(std::floor(origin.x())),
                           static_cast<int>(std::floor(origin.y())));
        if (const Scaled* scaled = scaledFor(device, whole, shownAgain && mostOfIt)) {
            // Laid with a transform that takes its pixels one to one to the device's pixels.
            const QTransform worldToDevice = painter.worldTransform().inverted() * device;
            painter.setWorldTransform(QTransform::fromTranslate(whole.x(), whole.y()) *
                                      worldToDevice.inverted());
            painter.drawImage(QPointF(scaled->offset), scaled->pixels);
            return;
        }
    }
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
