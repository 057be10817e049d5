#include "ui/Bitmap.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPen>

#include "ui/Errors.h"

namespace ui {

void Bitmap::setSize(int width, int height) {
    if (width < 0 || height < 0) {
        throw RangeError(QStringLiteral("Invalid bitmap size %1 x %2").arg(width).arg(height));
    }
    // A picture still shared with a viewer is left to the viewer: sizing starts a new one, since
    // the content after sizing is drawn anew anyway.
    if (width == width_ && height == height_ && !image_.isNull() && image_.isDetached() &&
        image_.devicePixelRatio() == ratio_) {
        return;
    }
    width_ = width;
    height_ = height;
    const int pixelWidth = static_cast<int>(std::ceil(width * ratio_));
    const int pixelHeight = static_cast<int>(std::ceil(height * ratio_));
    image_ = QImage(qMax(pixelWidth, 1), qMax(pixelHeight, 1), QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio_);
    image_.fill(Qt::transparent);
}

void Bitmap::assign(const QImage& picture) {
    image_ = picture;
    if (image_.isNull()) {
        width_ = height_ = 0;
        return;
    }
    if (image_.format() != QImage::Format_ARGB32_Premultiplied) {
        image_ = image_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    const double ratio = image_.devicePixelRatio();
    width_ = static_cast<int>(std::lround(image_.width() / ratio));
    height_ = static_cast<int>(std::lround(image_.height() / ratio));
}

QRgb Bitmap::pixelAt(double x, double y) const {
    const double ratio = image_.devicePixelRatio();
    const int px = static_cast<int>(std::floor((x + 0.5) * ratio));
    const int py = static_cast<int>(std::floor((y + 0.5) * ratio));
    if (!image_.valid(px, py)) {
        return 0;
    }
    return image_.pixel(px, py);
}

Canvas::Canvas(Bitmap& bitmap) : bitmap_(bitmap) {
    if (bitmap_.image().isNull()) {
        bitmap_.setSize(bitmap_.width(), bitmap_.height());
    }
    painter_.begin(&bitmap_.image());
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    font_ = makeFont(fontSize_);
}

Canvas::~Canvas() { painter_.end(); }

void Canvas::clear(QRgb colour) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(QRectF(0, 0, bitmap_.width(), bitmap_.height()), QColor::fromRgba(colour));
    painter_.restore();
}

void Canvas::setFont(double size, bool bold, FontFamily family) {
    fontSize_ = size;
    font_ = makeFont(size, bold, family);
}

void Canvas::fillRoundRect(const QRectF& rect, double radiusX, double radiusY, double opacity) {
    if (!fillEnabled_) {
        return;
    }
    painter_.save();
    painter_.setOpacity(opacity);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor::fromRgba(fill_));
    painter_.drawRoundedRect(rect.normalized(), radiusX, radiusY);
    painter_.restore();
}

void Canvas::drawLine(QPointF from, QPointF to, double opacity) {
    painter_.save();
    painter_.setOpacity(opacity);
    // A line along an axis is one unit wide and covers exactly the units from its start to its
    // end, so bars and dividers drawn on whole units stay sharp at any pixel ratio.
    if (from.x() == to.x() || from.y() == to.y()) {
        const QRectF span(QPointF(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                          QPointF(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
        const QRectF unitWide = from.x() == to.x() ? QRectF(span.left(), span.top(), 1, span.height())
                                                   : QRectF(span.left(), span.top(), span.width(), 1);
        painter_.fillRect(unitWide, QColor::fromRgba(stroke_));
        painter_.restore();
        return;
    }
    painter_.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor::fromRgba(stroke_));
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(from + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5));
    painter_.restore();
}

void Canvas::fillText(const QRectF& rect, const QString& text, bool wordWrap, double opacity,
                      Align horizontal, Align vertical) {
    int flags = 0;
    switch (horizontal) {
        case Align::Leading:
            flags |= Qt::AlignLeft;
            break;
        case Align::Center:
            flags |= Qt::AlignHCenter;
            break;
        case Align::Trailing:
            flags |= Qt::AlignRight;
            break;
    }
    switch (vertical) {
        case Align::Leading:
            flags |= Qt::AlignTop;
            break;
        case Align::Center:
            flags |= Qt::AlignVCenter;
            break;
        case Align::Trailing:
            flags |= Qt::AlignBottom;
            break;
    }
    if (wordWrap) {
        flags |= Qt::TextWordWrap;
    }
    painter_.save();
    painter_.setOpacity(opacity);
    painter_.setFont(font_);
    painter_.setPen(QColor::fromRgba(fill_));
    painter_.setClipRect(rect.normalized());
    painter_.drawText(rect.normalized(), flags, text);
    painter_.restore();
}

double Canvas::textWidth(const QString& text) const {
    return QFontMetricsF(font_).horizontalAdvance(text);
}

void Canvas::drawPixels(QPointF topLeft, const QImage& pixels) {
    painter_.save();
    // Undoing the ratio leaves a plain translation, so that whole-pixel positions copy rows
    // instead of resampling.
    painter_.translate(topLeft);
    painter_.scale(1 / bitmap_.devicePixelRatio(), 1 / bitmap_.devicePixelRatio());
    painter_.drawImage(QPointF(0, 0), pixels);
    painter_.restore();
}

void Canvas::setPixel(int x, int y, QRgb colour) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(QRectF(x, y, 1, 1), QColor::fromRgba(colour));
    painter_.restore();
}

}  // namespace ui
