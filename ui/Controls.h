#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QtGui/qrgb.h>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "ui/Bitmap.h"
#include "ui/Fonts.h"

namespace ui {

enum class ControlKind { Label, Button, TrackBar, ProgressBar, ComboBox, Panel, ImageViewer };

class Panel;

// The state every control of the window shares. Positions are design units, relative to the
// parent panel (or to the window when there is none).
class Control {
  public:
    Control(QString name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return name_; }
    ControlKind kind() const { return kind_; }

    Panel* parent() const { return parent_; }
    void setParent(Panel* panel) { parent_ = panel; }
    const QRectF& rect() const { return rect_; }
    void setRect(const QRectF& rect) { rect_ = rect; }
    double width() const { return rect_.width(); }
    double height() const { return rect_.height(); }
    // Moves the control to another vertical position, keeping its size.
    void setTop(double y) { rect_.moveTop(y); }

    bool visible() const { return visible_ && (leader_ == nullptr || leader_->visible()); }
    void setVisible(bool visible) { visible_ = visible; }
    // A control of another's group shows only while that one shows too.
    void showWith(const Control* leader) { leader_ = leader; }
    void show() { visible_ = true; }
    void hide() { visible_ = false; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

  private:
    QString name_;
    ControlKind kind_;
    Panel* parent_ = nullptr;
    const Control* leader_ = nullptr;
    QRectF rect_;
    bool visible_ = true;
    bool enabled_ = true;
    int tag_ = 0;
};

// The text, font and colour that labels and buttons have in common.
class TextControl : public Control {
  public:
    using Control::Control;

    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }

    double fontSize() const { return fontSize_; }
    void setFontSize(double size) { fontSize_ = size; }
    bool bold() const { return bold_; }
    void setBold(bool bold) { bold_ = bold; }
    FontFamily fontFamily() const { return family_; }
    void setFontFamily(FontFamily family) { family_ = family; }
    // The family comes from the window's style rather than from the control.
    bool styleFamily() const { return styleFamily_; }
    void setStyleFamily(bool fromStyle) { styleFamily_ = fromStyle; }

    Align horizontalAlign() const { return hAlign_; }
    void setHorizontalAlign(Align align) { hAlign_ = align; }
    Align verticalAlign() const { return vAlign_; }
    void setVerticalAlign(Align align) { vAlign_ = align; }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap) { wordWrap_ = wrap; }

    // The size a small text may grow to where a look enlarges small text and the box allows;
    // lower for texts that share a row with others.
    double largestGrownSize() const { return largestGrownSize_; }
    void setLargestGrownSize(double size) { largestGrownSize_ = size; }

    // The control's own text colour.
    QRgb fontColor() const { return fontColor_; }
    void setFontColor(QRgb colour) { fontColor_ = colour; }

    // Underlined in every look: the chosen word of a row of choices, which its colour alone
    // would tell.
    bool underlined() const { return underlined_; }
    void setUnderlined(bool underlined) { underlined_ = underlined; }

  private:
    QString text_;
    double fontSize_ = 12;
    bool bold_ = false;
    FontFamily family_ = FontFamily::Default;
    bool styleFamily_ = false;
    Align hAlign_ = Align::Leading;
    Align vAlign_ = Align::Center;
    bool wordWrap_ = false;
    QRgb fontColor_ = 0xFF000000;
    bool underlined_ = false;
    double largestGrownSize_ = 20;
};

class Label : public TextControl {
  public:
    explicit Label(QString name) : TextControl(std::move(name), ControlKind::Label) {}
};

class Button : public TextControl {
  public:
    static constexpr QRgb kStyleTextColor = 0xFFE0E0E0;
    static constexpr QRgb kSelectedTextColor = 0xFF000000;

    explicit Button(QString name) : TextControl(std::move(name), ControlKind::Button) {
        setHorizontalAlign(Align::Center);
        setFontColor(kSelectedTextColor);
    }

    // Selected: the button's own text colour (black); unselected: the style's light grey.
    bool selected() const { return selected_; }
    void setSelected(bool selected) { selected_ = selected; }
    QRgb effectiveTextColor() const { return selected_ ? fontColor() : kStyleTextColor; }

    // A button that stays pressed shows its pressed look from one click to the next: each click
    // turns the look on or off, whatever its handler does. The look is independent of the
    // selected state, which only sets the text colour.
    bool staysPressed() const { return staysPressed_; }
    void setStaysPressed(bool stays) { staysPressed_ = stays; }
    bool pressed() const { return pressed_; }
    void setPressed(bool pressed) { pressed_ = pressed; }

    std::function<void()> onClick;
    void click() {
        if (staysPressed_) {
            pressed_ = !pressed_;
        }
        if (onClick) {
            onClick();
        }
    }

  private:
    bool selected_ = false;
    bool staysPressed_ = false;
    bool pressed_ = false;
};

// A continuous slider: it holds any value within its range, and runs its change handler after
// every real change of its value, also one forced by a new minimum or maximum.
class TrackBar : public Control {
  public:
    explicit TrackBar(QString name) : Control(std::move(name), ControlKind::TrackBar) {}

    double value() const { return value_; }
    double minimum() const { return min_; }
    double maximum() const { return max_; }
    bool vertical() const { return vertical_; }
    void setVertical(bool vertical) { vertical_ = vertical; }

    void setValue(double value);
    void setMinimum(double minimum);
    void setMaximum(double maximum);
    // Sets range and value without running the change handler (the window's design values).
    void initialise(double minimum, double maximum, double value);

    std::function<void()> onChange;

  private:
    void applyClamped(double value);

    double min_ = 0;
    double max_ = 10;
    double value_ = 0;
    bool vertical_ = false;
};

class ProgressBar : public Control {
  public:
    explicit ProgressBar(QString name) : Control(std::move(name), ControlKind::ProgressBar) {}

    double value() const { return value_; }
    double maximum() const { return max_; }
    double minimum() const { return 0; }
    bool vertical() const { return vertical_; }
    void setVertical(bool vertical) { vertical_ = vertical; }

    // The value stays within 0..maximum.
    void setValue(double value);
    void setMaximum(double maximum);

  private:
    double max_ = 100;
    double value_ = 0;
    bool vertical_ = false;
};

class ComboBox : public Control {
  public:
    explicit ComboBox(QString name) : Control(std::move(name), ControlKind::ComboBox) {}

    const QStringList& items() const { return items_; }
    void setItems(const QStringList& items) { items_ = items; }
    int itemIndex() const { return index_; }
    // Runs the change handler when the item really changes.
    void setItemIndex(int index);
    void initialise(const QStringList& items, int index);

    std::function<void()> onChange;

  private:
    QStringList items_;
    int index_ = -1;
};

class Panel : public Control {
  public:
    explicit Panel(QString name) : Control(std::move(name), ControlKind::Panel) {}
};

// Shows its own copy of a picture from the top-left corner, scaled by its bitmap scale. It fills
// its panel.
class ImageViewer : public Control {
  public:
    explicit ImageViewer(QString name) : Control(std::move(name), ControlKind::ImageViewer) {}

    // Places the viewer inside a panel, filling it.
    void attachTo(Panel& panel);

    double bitmapScale() const { return scale_; }
    void setBitmapScale(double scale) { scale_ = scale; }
    bool handCursor() const { return handCursor_; }
    void setHandCursor(bool hand) { handCursor_ = hand; }

    const QImage& picture() const { return picture_; }
    // Shares the bitmap's pixels; the bitmap copies them before it is painted again.
    void setPicture(const Bitmap& bitmap) {
        picture_ = bitmap.image();
        ++pictureVersion_;
        changed_.reset();
    }
    // The same, from a painter that knows where the new picture differs from the one handed over
    // before: the rectangle, in the picture's units, holds every pixel that differs.
    void setPicture(const Bitmap& bitmap, const QRectF& changed) {
        const unsigned before = pictureVersion_;
        setPicture(bitmap);
        changed_ = ChangedArea{before, changed};
    }
    // Counts the pictures handed over, so the window repaints only what changed.
    unsigned pictureVersion() const { return pictureVersion_; }
    // Where the picture differs from the one of version `since`, when its painter said so.
    std::optional<QRectF> changedSince(unsigned since) const {
        if (changed_ && changed_->since == since) {
            return changed_->area;
        }
        return std::nullopt;
    }

    // Press and release, with the pointer position in the viewer's units.
    std::function<void(double x, double y)> onMouseDown;
    std::function<void(double x, double y)> onMouseUp;

  private:
    double scale_ = 1.0;
    bool handCursor_ = false;
    QImage picture_;
    unsigned pictureVersion_ = 0;
    struct ChangedArea {
        unsigned since;
        QRectF area;
    };
    std::optional<ChangedArea> changed_;
};

// While enabled, the window calls tick() once every interval.
class Timer {
  public:
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    int interval() const { return interval_; }

    std::function<void()> onTimer;
    void tick() {
        if (enabled_ && onTimer) {
            onTimer();
        }
    }

  private:
    bool enabled_ = false;
    int interval_ = 1000;
};

}  // namespace ui
