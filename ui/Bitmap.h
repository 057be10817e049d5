#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "ui/Fonts.h"

namespace ui {

enum class Align { Leading, Center, Trailing };

// An off-screen picture measured in design units. Its pixels are design units times the device
// pixel ratio, so a picture drawn for a large screen stays crisp when the window shows it.
class Bitmap {
  public:
    explicit Bitmap(double devicePixelRatio = 1.0) : ratio_(devicePixelRatio) {}

    // Sizes the picture in design units. What it shows until cleared is undefined: it may be an
    // earlier picture.
    void setSize(int width, int height);
    // The same, except that a picture used again keeps what it holds, for drawing over it where
    // it differs from what is wanted: contentKey() says what that is.
    void setSizeKeepingContent(int width, int height);
    // What the picture holds, in a painter's own numbering: set after drawing, kept with the
    // picture while it waits to be used again, and zero for a new picture or one sized by
    // setSize (its content then unknown).
    std::uint64_t contentKey() const { return contentKey_; }
    void setContentKey(std::uint64_t key) { contentKey_ = key; }
    int width() const { return width_; }
    int height() const { return height_; }

    double devicePixelRatio() const { return ratio_; }
    void setDevicePixelRatio(double ratio) { ratio_ = ratio; }

    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    // Takes a copy of another picture, with its size and ratio.
    void assign(const QImage& picture);
    // Sizes the picture as setSize does and copies a picture of that size into it, to draw over:
    // the one given, which a viewer may be showing, stays as it is, and no fresh memory is needed
    // when the bitmap kept a picture of that size. False, and nothing copied, for another size.
    bool drawOver(const QImage& picture, int width, int height);

    // The colour at a point in design units (the centre of that unit).
    QRgb pixelAt(double x, double y) const;

  private:
    static constexpr std::size_t kMaxSpares = 4;

    struct Kept {
        QImage image;
        std::uint64_t contentKey;
    };

    void resize(int width, int height, bool keepContent);
    void keepAsSpare();
    void clearPartialEdges();

    int width_ = 0;
    int height_ = 0;
    double ratio_;
    QImage image_;
    std::uint64_t contentKey_ = 0;
    std::vector<Kept> spares_;
};

// The pixel ratio to paint pictures at on a screen that shows the given number of pixels per
// design unit. Up to 1.6 it is that number. Above, it is rounded up to a whole number: text and
// cells then lie on whole pixels and are copied from pictures drawn once, instead of Qt drawing
// every large glyph as an outline, and the window's smooth scaling brings the picture down by the
// few hundredths that remain.
double pictureRatio(double screenPixelsPerUnit);

// A picture of that many pixels in premultiplied ARGB, its content undefined. A large one lives
// in memory of its own, mapped in huge pages where the system allows it: fresh memory is touched
// with one fault per 2 MB instead of one per 4 KB.
QImage largePicture(QSize pixels);

// Whether a rectangle of the design lies on whole screen pixels at a pixel ratio, corner and size.
bool onWholePixels(const QRectF& rect, double ratio);

// The smallest rectangle holding every pixel of a picture that is not fully transparent.
QRect inkBounds(const QImage& image);

// One drawing pass over a bitmap: begins when made, ends when destroyed. Coordinates are design
// units. The fill colour is also the text colour.
class Canvas {
  public:
    explicit Canvas(Bitmap& bitmap);
    // Paints with a painter already active on another device instead (a PDF's page), in its
    // current coordinates, as shapes and text at the bitmap's size in design units; nothing is
    // copied from pictures of pixels. The painter's state is given back as it was.
    Canvas(Bitmap& bitmap, QPainter& painter);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    double devicePixelRatio() const { return bitmap_.devicePixelRatio(); }
    // True when painting on another device than the bitmap's pixels.
    bool paintsShapes() const { return shapes_; }
    void clear(QRgb colour);
    // Sets every pixel of a rectangle to a colour, as clear does for the whole bitmap.
    void clearRect(const QRectF& rect, QRgb colour);
    // From here on only the pixels a rectangle touches, and one pixel around them, are drawn.
    void clipTo(const QRectF& rect);
    // The bitmap's size in design units.
    QSizeF size() const { return QSizeF(bitmap_.width(), bitmap_.height()); }
    void setFillColor(QRgb colour) { fill_ = colour; }
    QRgb fillColor() const { return fill_; }
    void setStrokeColor(QRgb colour) { stroke_ = colour; }
    QRgb strokeColor() const { return stroke_; }
    void setFillEnabled(bool enabled) { fillEnabled_ = enabled; }
    void setFont(double size, bool bold = false, FontFamily family = FontFamily::Default);
    double fontSize() const { return fontSize_; }

    void fillRoundRect(const QRectF& rect, double radiusX, double radiusY, double opacity = 1.0);
    void drawLine(QPointF from, QPointF to, double opacity = 1.0);
    void fillText(const QRectF& rect, const QString& text, bool wordWrap, double opacity,
                  Align horizontal, Align vertical);
    double textWidth(const QString& text) const;
    void setPixel(int x, int y, QRgb colour);
    // Copies pixels onto the bitmap's pixels one to one, their top-left corner at a point in
    // design units.
    void drawPixels(QPointF topLeft, const QImage& pixels);

  private:
    Bitmap& bitmap_;
    QPainter own_;       // the bitmap's painter, unless another one is lent
    QPainter& painter_;  // the painter in use
    QRect clip_;         // the pixels that may be drawn

    QRgb fill_ = 0xFF000000;
    QRgb stroke_ = 0xFF000000;
    bool fillEnabled_ = true;
    bool shapes_ = false;
    double fontSize_ = 12;
    QFont font_;
};

}  // namespace ui
