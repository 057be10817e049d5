#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

namespace widgets {

// Shows a picture from its top-left corner at a scale, and reports presses and releases of any
// mouse button in its own units.
class PictureView : public QWidget {
  public:
    explicit PictureView(QWidget* parent = nullptr);

    // The picture keeps its device pixel ratio: a picture painted for a large screen is drawn
    // with its own pixels there, not stretched.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setPictureScale(double scale);
    double pictureScale() const { return scale_; }

    std::function<void(QPointF)> onPress;
    std::function<void(QPointF)> onRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    double scale_ = 1.0;
};

}  // namespace widgets
