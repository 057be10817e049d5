#include "ui/Controls.h"

#include <algorithm>

#include "ui/Checked.h"

namespace ui {

void TrackBar::applyClamped(double value) {
    const double clamped = std::clamp(value, min_, max_);
    if (clamped == value_) {
        return;
    }
    value_ = clamped;
    if (onChange) {
        onChange();
    }
}

void TrackBar::setValue(double value) { applyClamped(value); }

void TrackBar::setMinimum(double minimum) {
    min_ = minimum;
    max_ = std::max(max_, min_);
    applyClamped(value_);
}

void TrackBar::setMaximum(double maximum) {
    max_ = maximum;
    min_ = std::min(min_, max_);
    applyClamped(value_);
}

void TrackBar::initialise(double minimum, double maximum, double value) {
    min_ = minimum;
    max_ = maximum;
    value_ = std::clamp(value, min_, max_);
}

void ProgressBar::setValue(double value) { value_ = std::clamp(value, 0.0, max_); }

void ProgressBar::setMaximum(double maximum) {
    max_ = std::max(0.0, maximum);
    value_ = std::clamp(value_, 0.0, max_);
}

void ComboBox::setItemIndex(int index) {
    if (index < -1 || index >= items_.size()) {
        throwRangeError(index, -1, items_.size() - 1);
    }
    if (index == index_) {
        return;
    }
    index_ = index;
    if (onChange) {
        onChange();
    }
}

void ComboBox::initialise(const QStringList& items, int index) {
    items_ = items;
    index_ = index;
}

void ImageViewer::attachTo(Panel& panel) {
    setParent(&panel);
    setRect(QRectF(0, 0, panel.width(), panel.height()));
}

}  // namespace ui
