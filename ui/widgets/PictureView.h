#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QImage>
#include <QWidget>

namespace widgets {

// The smallest rectangle, in pixels of the pictures, that holds every pixel in which two pictures
// differ: empty when they are alike, the whole of the new one when they cannot be compared
// (another size, format or pixel ratio).
QRect changedArea(const QImage& before, const QImage& after);

// Shows a picture from its top-left corner at a scale, and reports presses and releases of any
// mouse button in its own units.
class PictureView : public QWidget {
  public:
    explicit PictureView(QWidget* parent = nullptr);

    // The picture keeps its device pixel ratio: a picture painted for a large screen is drawn
    // with its own pixels there, not stretched. Only the part that differs from the picture
    // shown before is painted again: a press on the table changes one cell of a large picture.
    // Shows a new picture, repainting where it differs from the one shown: within `changed`, in
    // the picture's units, when the caller knows it, or else where the two compare different.
    void setPicture(const QImage& picture, std::optional<QRectF> changed = std::nullopt);
    const QImage& picture() const { return picture_; }
    void setPictureScale(double scale);
    double pictureScale() const { return scale_; }

    // Where the viewer paints nothing but opaque pixels, in its own coordinates: the picture's
    // area when the picture is known to be opaque (found so when it was kept scaled), else empty.
    QRectF opaqueArea() const;

    // How many pictures were scaled to the screen to be kept, for tests.
    int scaledPicturesMade() const { return scaledMade_; }

    std::function<void(QPointF)> onPress;
    std::function<void(QPointF)> onRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // A rectangle of picture pixels as the widget's area that shows it, with a pixel's margin
    // for the smoothing of a scaled picture.
    QRect shownArea(const QRect& pixels) const;

    // A picture scaled to the screen's pixels once, as painting it there scales it, and then
    // laid on whole pixels: a picture shown again (the table that a switch brings back) is
    // copied instead of being smoothly scaled on every repaint.
    struct Scaled {
        qint64 source = 0;  // the picture's cacheKey: a picture painted again has a new one
        QTransform device;  // of the picture's units, its translation reduced to a fraction
        QImage pixels;
        QPoint offset;  // of the pixels from the whole screen pixel the picture starts in
    };

    // Whether the painter draws through the screen's raster engine at a scale that smooths.
    static bool scalesSmoothly(QPainter& painter);
    const Scaled* scaledFor(const QTransform& device, const QPoint& whole, bool makeIt);

    QImage picture_;
    double scale_ = 1.0;
    std::vector<qint64> shownBefore_;  // the pictures shown lately, by cacheKey
    std::vector<Scaled> scaled_;       // the latest first
    std::vector<qint64> notOpaque_;    // pictures shown again that are not kept scaled
    std::vector<qint64> opaque_;       // pictures found opaque
    int scaledMade_ = 0;
};

}  // namespace widgets
