#include "ui/widgets/PictureView.h"

#include <QMouseEvent>
#include <QPainter>

namespace widgets {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
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
