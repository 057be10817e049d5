#include "ui/widgets/CachedTextStyle.h"

#include <cmath>

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>

#include "ui/Bitmap.h"

namespace widgets {

namespace {

// Qt keeps glyphs up to this many screen pixels in its glyph cache and fills larger ones as
// outlines.
constexpr double kCachedGlyphLimit = 64;
// The pictures kept, in bytes: the captions of a few screens on a 4K screen.
constexpr qsizetype kKeptBytes = qsizetype{16} << 20;

QString number(double value) {
    return QString::number(value, 'g', 17);
}

}  // namespace

CachedTextStyle::CachedTextStyle() {
    pictures_.setMaxCost(kKeptBytes);
}

void CachedTextStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                   const QPalette& palette, bool enabled, const QString& text,
                                   QPalette::ColorRole textRole) const {
    const Picture* found = picture(painter, rect, flags, palette, enabled, text, textRole);
    if (found == nullptr) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    if (found->ink.isNull()) {
        return;
    }
    // Laid with a transform that takes the ink's pixels one to one to the device's pixels, so
    // that they are copied without resampling.
    const QTransform device = painter->deviceTransform();
    const QTransform worldToDevice = painter->worldTransform().inverted() * device;
    const QPointF origin = device.map(QPointF(rect.topLeft()));
    const QPoint at =
        QPoint(static_cast<int>(std::floor(origin.x())), static_cast<int>(std::floor(origin.y()))) +
        found->offset;
    painter->save();
    painter->setWorldTransform(QTransform::fromTranslate(at.x(), at.y()) *
                               worldToDevice.inverted());
    painter->drawImage(QPointF(0, 0), found->ink);
    painter->restore();
}

const CachedTextStyle::Picture* CachedTextStyle::picture(QPainter* painter, const QRect& rect,
                                                         int flags, const QPalette& palette,
                                                         bool enabled, const QString& text,
                                                         QPalette::ColorRole textRole) const {
    if (text.isEmpty() || rect.isEmpty() || painter->paintEngine() == nullptr ||
        painter->paintEngine()->type() != QPaintEngine::Raster) {
        return nullptr;
    }
    const QTransform device = painter->deviceTransform();
    const double scaleX = device.m11();
    const double scaleY = device.m22();
    if (device.type() > QTransform::TxScale || scaleX <= 0 || scaleY <= 0) {
        return nullptr;
    }
    const QFont font = painter->font();
    if (font.pixelSize() <= 0 ||
        font.pixelSize() * std::sqrt(scaleX * scaleY) <= kCachedGlyphLimit) {
        return nullptr;
    }
    // A widget drawn into the scene may have its scale between the world and the device.
    if ((painter->worldTransform().inverted() * device).type() > QTransform::TxScale) {
        return nullptr;
    }
    // Laid over what is there in one step, the picture gives the pixels that drawing the text
    // there gives: for an opaque solid pen, not for a disabled text drawn twice or dithered.
    const QBrush brush =
        textRole == QPalette::NoRole ? painter->pen().brush() : palette.brush(textRole);
    if (brush.style() != Qt::SolidPattern || brush.color().alpha() != 255 ||
        painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        (!enabled && (proxy()->styleHint(SH_DitherDisabledText) != 0 ||
                      proxy()->styleHint(SH_EtchDisabledText) != 0))) {
        return nullptr;
    }

    const QPointF origin = device.map(QPointF(rect.topLeft()));
    const QPoint whole(static_cast<int>(std::floor(origin.x())),
                       static_cast<int>(std::floor(origin.y())));
    const QPointF fraction = origin - QPointF(whole);
    const QString key = QStringList{text,
                                    QString::number(flags),
                                    QString::number(rect.width()),
                                    QString::number(rect.height()),
                                    font.key(),
                                    QString::number(brush.color().rgba()),
                                    QString::number(static_cast<int>(enabled)),
                                    QString::number(static_cast<int>(painter->renderHints())),
                                    QString::number(static_cast<int>(painter->layoutDirection())),
                                    number(scaleX),
                                    number(scaleY),
                                    number(fraction.x()),
                                    number(fraction.y())}
                            .join(QChar(0x1F));
    if (const Picture* kept = pictures_.object(key)) {
        return kept;
    }

    // Drawn as Qt draws it on the screen, on the same fraction of a pixel.
    const QSize size(static_cast<int>(std::ceil(fraction.x() + rect.width() * scaleX)) + 1,
                     static_cast<int>(std::ceil(fraction.y() + rect.height() * scaleY)) + 1);
    // In memory kept from one text to the next: fresh pages cost more than drawing the text.
    if (scratch_.width() < size.width() || scratch_.height() < size.height()) {
        scratch_ = QImage(size.expandedTo(scratch_.size()), QImage::Format_ARGB32_Premultiplied);
    }
    QImage full(scratch_.bits(), size.width(), size.height(), scratch_.bytesPerLine(),
                QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::transparent);
    {
        QPainter picturePainter(&full);
        picturePainter.setRenderHints(painter->renderHints());
        picturePainter.setTransform(device * QTransform::fromTranslate(-whole.x(), -whole.y()));
        picturePainter.setFont(font);
        picturePainter.setPen(painter->pen());
        picturePainter.setBackground(painter->background());
        picturePainter.setLayoutDirection(painter->layoutDirection());
        QProxyStyle::drawItemText(&picturePainter, rect, flags, palette, enabled, text, textRole);
    }
    ++picturesDrawn_;
    auto* drawn = new Picture;
    const QRect ink = ui::inkBounds(full);
    if (!ink.isEmpty()) {
        drawn->ink = full.copy(ink);
        drawn->offset = ink.topLeft();
    }
    const qsizetype cost = qMax<qsizetype>(drawn->ink.sizeInBytes(), 1);
    if (!pictures_.insert(key, drawn, cost)) {
        return nullptr;  // larger than all that is kept: drawn by Qt
    }
    return pictures_.object(key);
}

void installCachedTextStyle() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    QApplication::setStyle(new CachedTextStyle);
}

}  // namespace widgets
