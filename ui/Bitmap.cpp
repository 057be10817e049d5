#include "ui/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <tuple>

#include <QFontMetricsF>
#include <QPen>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

#include "ui/Errors.h"

namespace ui {

double pictureRatio(double screenPixelsPerUnit) {
    constexpr double kLargestExactRatio = 1.6;
    if (screenPixelsPerUnit <= kLargestExactRatio) {
        return screenPixelsPerUnit;
    }
    return std::ceil(screenPixelsPerUnit - 1e-9);
}

namespace {

#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)

// A large picture lives in memory of its own mapped in huge pages where the system allows it:
// the first touch of a fresh picture then costs one fault per 2 MB instead of one per 4 KB,
// which on a virtual machine is most of the time a large picture takes to draw the first time.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

struct Mapping {
    void* start;
    std::size_t length;
};

void unmapPicture(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

// The length to map for a picture of that many bytes: rounded up to whole huge pages when that
// wastes at most an eighth, else to whole small pages (the part beyond the last whole huge page
// then stays in small pages). Zero where huge pages would not serve at all.
std::size_t hugeMappingLength(std::size_t bytes) {
    const std::size_t roundedUp = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (roundedUp - bytes <= bytes / 8) {
        return roundedUp;
    }
    if (bytes < kHugePage) {
        return 0;
    }
    constexpr std::size_t kPage = 4096;
    return (bytes + kPage - 1) / kPage * kPage;
}

QImage newPicture(QSize pixels) {
    const auto bytesPerLine = static_cast<std::size_t>(pixels.width()) * sizeof(QRgb);
    const std::size_t length = hugeMappingLength(bytesPerLine * pixels.height());
    if (length == 0) {
        return QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    }
    // Mapped with a huge page's room to spare, then trimmed to start on a huge page.
    void* area = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
        return QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (begin + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > begin) {
        munmap(area, aligned - begin);
    }
    const std::uintptr_t end = begin + length + kHugePage;
    if (end > aligned + length) {
        munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    }
    auto* start = reinterpret_cast<void*>(aligned);
    madvise(start, length, MADV_HUGEPAGE);  // only advice: small pages serve as well
    return QImage(static_cast<uchar*>(start), pixels.width(), pixels.height(),
                  static_cast<qsizetype>(bytesPerLine), QImage::Format_ARGB32_Premultiplied,
                  unmapPicture, new Mapping{start, length});
}

#else

QImage newPicture(QSize pixels) {
    return QImage(pixels, QImage::Format_ARGB32_Premultiplied);
}

#endif

}  // namespace

QImage largePicture(QSize pixels) {
    return newPicture(pixels);
}

void Bitmap::setSize(int width, int height) {
    resize(width, height, false);
}

void Bitmap::setSizeKeepingContent(int width, int height) {
    resize(width, height, true);
}

void Bitmap::resize(int width, int height, bool keepContent) {
    if (width < 0 || height < 0) {
        throw RangeError(QStringLiteral("Invalid bitmap size %1 x %2").arg(width).arg(height));
    }
    const QSize pixels(qMax(static_cast<int>(std::ceil(width * ratio_)), 1),
                       qMax(static_cast<int>(std::ceil(height * ratio_)), 1));
    auto fits = [&](const QImage& image) {
        return !image.isNull() && image.isDetached() && image.size() == pixels &&
               image.devicePixelRatio() == ratio_;
    };
    width_ = width;
    height_ = height;
    if (!fits(image_)) {
        // A picture still shown by a viewer is left to it. Pictures the viewers have let go of
        // are kept and drawn over again, which spares a large allocation and fill on every
        // redraw.
        auto spare = std::find_if(spares_.begin(), spares_.end(),
                                  [&](const Kept& kept) { return fits(kept.image); });
        if (spare != spares_.end()) {
            Kept reused = std::move(*spare);
            spares_.erase(spare);
            keepAsSpare();
            image_ = std::move(reused.image);
            contentKey_ = reused.contentKey;
        } else {
            keepAsSpare();
            image_ = newPicture(pixels);
            image_.setDevicePixelRatio(ratio_);
            image_.fill(Qt::transparent);
            contentKey_ = 0;
            return;
        }
    }
    if (!keepContent) {
        clearPartialEdges();
        contentKey_ = 0;
    }
}

// At a fractional ratio the last column and row of pixels lie partly outside the design units, so
// that a clear in design units only blends into them: they are cleared here, so that what is
// drawn over a picture used again never shows a trace of the picture before.
void Bitmap::clearPartialEdges() {
    const int fullColumns = static_cast<int>(std::floor(width_ * ratio_ + 1e-9));
    const int fullRows = static_cast<int>(std::floor(height_ * ratio_ + 1e-9));
    if (fullColumns >= image_.width() && fullRows >= image_.height()) {
        return;
    }
    for (int y = 0; y < image_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        if (y >= fullRows) {
            std::fill(line, line + image_.width(), 0);
        } else {
            std::fill(line + std::min(fullColumns, image_.width()), line + image_.width(), 0);
        }
    }
}

void Bitmap::keepAsSpare() {
    if (image_.isNull()) {
        return;
    }
    spares_.push_back(Kept{std::move(image_), contentKey_});
    image_ = QImage();
    contentKey_ = 0;
    if (spares_.size() > kMaxSpares) {
        spares_.erase(spares_.begin());
    }
}

void Bitmap::assign(const QImage& picture) {
    keepAsSpare();
    image_ = picture;
    contentKey_ = 0;
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

bool Bitmap::drawOver(const QImage& picture, int width, int height) {
    // A picture a viewer shows shares its pixels, so setSize leaves it to the viewer.
    setSize(width, height);
    if (picture.format() != image_.format() || picture.size() != image_.size() ||
        picture.bytesPerLine() != image_.bytesPerLine() ||
        picture.devicePixelRatio() != image_.devicePixelRatio()) {
        return false;
    }
    if (picture.constBits() != image_.constBits()) {
        std::memcpy(image_.bits(), picture.constBits(),
                    static_cast<std::size_t>(picture.sizeInBytes()));
    }
    return true;
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

namespace {

// Large text is drawn once into a picture of its own and then copied wherever it is drawn again,
// which gives the same pixels: Qt draws glyphs larger than 64 screen pixels as outlines on every
// call, and the pictures of a dense screen would otherwise take far too long to paint.
struct TextPicture {
    QImage image;      // the text's ink on transparency, in screen pixels
    QPoint inkOffset;  // of the ink from the text box's corner, in screen pixels
};

class TextPictures {
  public:
    // The picture of a text in a box, or null where a copy would not give the same pixels (a
    // box off whole screen pixels: Qt places text there a little differently) or where Qt's own
    // glyph cache serves (small text).
    const TextPicture* find(const QRectF& box, const QString& text, const QFont& font, QRgb colour,
                            int flags, double ratio) {
        if (font.pixelSize() * ratio <= kCachedGlyphLimit || !onWholePixels(box, ratio)) {
            return nullptr;
        }
        Key key{text, font.key(), colour, flags, box.width(), box.height(), ratio};
        auto found = pictures_.find(key);
        if (found == pictures_.end()) {
            if (pictures_.size() >= kMaxPictures) {
                pictures_.clear();
            }
            found = pictures_
                        .emplace(std::move(key), draw(box.size(), text, font, colour, flags, ratio))
                        .first;
        }
        return &found->second;
    }

  private:
    static constexpr int kCachedGlyphLimit = 64;
    static constexpr std::size_t kMaxPictures = 512;

    using Key = std::tuple<QString, QString, QRgb, int, double, double, double>;

    static TextPicture draw(QSizeF size, const QString& text, const QFont& font, QRgb colour,
                            int flags, double ratio) {
        QImage full(qRound(size.width() * ratio), qRound(size.height() * ratio),
                    QImage::Format_ARGB32_Premultiplied);
        full.fill(Qt::transparent);
        {
            QPainter painter(&full);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            painter.scale(ratio, ratio);
            painter.setFont(font);
            painter.setPen(QColor::fromRgba(colour));
            const QRectF box(QPointF(0, 0), size);
            painter.setClipRect(box);
            painter.drawText(box, flags, text);
        }
        const QRect ink = inkBounds(full);
        TextPicture picture;
        if (!ink.isEmpty()) {
            picture.image = full.copy(ink);
            picture.inkOffset = ink.topLeft();
        }
        return picture;
    }

    std::map<Key, TextPicture> pictures_;
};

TextPictures& textPictures() {
    static TextPictures pictures;
    return pictures;
}

// Lays premultiplied pixels over a picture at a screen pixel, clipped to the picture.
void blendOver(QImage& target, const QRect& clip, QPoint at, const QImage& pixels, double opacity) {
    const QRect area = QRect(at, pixels.size()).intersected(clip);
    if (area.isEmpty()) {
        return;
    }
    const int alphaScale = qBound(0, qRound(opacity * 256), 256);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(pixels.constScanLine(y - at.y()));
        for (int x = area.left(); x <= area.right(); ++x) {
            QRgb source = in[x - at.x()];
            if (alphaScale != 256) {
                source =
                    qRgba((qRed(source) * alphaScale) >> 8, (qGreen(source) * alphaScale) >> 8,
                          (qBlue(source) * alphaScale) >> 8, (qAlpha(source) * alphaScale) >> 8);
            }
            const int alpha = qAlpha(source);
            if (alpha == 0) {
                continue;
            }
            if (alpha == 255) {
                out[x] = source;
                continue;
            }
            const QRgb below = out[x];
            const int rest = 255 - alpha;
            auto mix = [rest](int over, int under) { return over + (under * rest + 127) / 255; };
            out[x] = qRgba(mix(qRed(source), qRed(below)), mix(qGreen(source), qGreen(below)),
                           mix(qBlue(source), qBlue(below)), mix(alpha, qAlpha(below)));
        }
    }
}

}  // namespace

bool onWholePixels(const QRectF& rect, double ratio) {
    for (double units : {rect.left(), rect.top(), rect.width(), rect.height()}) {
        const double pixels = units * ratio;
        if (pixels != std::floor(pixels)) {
            return false;
        }
    }
    return true;
}

QRect inkBounds(const QImage& image) {
    // A row is read once to tell whether it has ink at all; one that has is then looked at from
    // either end only as far as its first ink.
    const int width = image.width();
    const int height = image.height();
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        // A row without ink, most rows of a text's picture, is told by one pass without a
        // branch per pixel: its alpha bytes together are zero.
        QRgb any = 0;
        for (int x = 0; x < width; ++x) {
            any |= line[x];
        }
        if (qAlpha(any) == 0) {
            continue;
        }
        int x = 0;
        while (qAlpha(line[x]) == 0) {
            ++x;
        }
        left = std::min(left, x);
        int last = width - 1;
        while (last > right && qAlpha(line[last]) == 0) {
            --last;
        }
        right = std::max(right, last);
        if (top < 0) {
            top = y;
        }
        bottom = y;
    }
    if (top < 0) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

Canvas::Canvas(Bitmap& bitmap) : bitmap_(bitmap), painter_(own_) {
    if (bitmap_.image().isNull()) {
        bitmap_.setSize(bitmap_.width(), bitmap_.height());
    }
    painter_.begin(&bitmap_.image());
    clip_ = bitmap_.image().rect();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    font_ = makeFont(fontSize_);
}

Canvas::Canvas(Bitmap& bitmap, QPainter& painter)
    : bitmap_(bitmap), painter_(painter), shapes_(true) {
    painter_.save();
    clip_ = QRect(0, 0, bitmap_.width(), bitmap_.height());
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    font_ = makeFont(fontSize_);
}

Canvas::~Canvas() {
    if (&painter_ == &own_) {
        painter_.end();
    } else {
        painter_.restore();
    }
}

void Canvas::clear(QRgb colour) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    // Every pixel, also the last part-covered one of a size that is no whole number of pixels.
    const double ratio = devicePixelRatio();
    painter_.fillRect(
        QRectF(0, 0, bitmap_.image().width() / ratio, bitmap_.image().height() / ratio),
        QColor::fromRgba(colour));
    painter_.restore();
}

void Canvas::clearRect(const QRectF& rect, QRgb colour) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(rect.normalized(), QColor::fromRgba(colour));
    painter_.restore();
}

void Canvas::clipTo(const QRectF& rect) {
    const double ratio = devicePixelRatio();
    clip_ = QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio)
                .toAlignedRect()
                .adjusted(-1, -1, 1, 1)
                .intersected(bitmap_.image().rect());
    // Whole pixels given in design units map back to exactly those pixels.
    painter_.setClipRect(QRectF(clip_.x() / ratio, clip_.y() / ratio, clip_.width() / ratio,
                                clip_.height() / ratio));
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
        const QRectF unitWide = from.x() == to.x()
                                    ? QRectF(span.left(), span.top(), 1, span.height())
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
    const QRectF box = rect.normalized();
    const double ratio = devicePixelRatio();
    if (const TextPicture* picture =
            shapes_ ? nullptr : textPictures().find(box, text, font_, fill_, flags, ratio)) {
        if (!picture->image.isNull()) {
            const QPoint corner(qRound(box.left() * ratio), qRound(box.top() * ratio));
            blendOver(bitmap_.image(), clip_, corner + picture->inkOffset, picture->image, opacity);
        }
        return;
    }
    painter_.save();
    painter_.setOpacity(opacity);
    painter_.setFont(font_);
    painter_.setPen(QColor::fromRgba(fill_));
    // On another device (a PDF's page) the clip is left to drawText, which cuts a text at its box
    // only where it runs over: a clip of its own around every text costs more than the text.
    if (!shapes_) {
        painter_.setClipRect(box, Qt::IntersectClip);
    }
    painter_.drawText(box, flags, text);
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
