#include "ui/widgets/ControlBindings.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "ui/Look.h"
#include "ui/widgets/PictureView.h"
#include "ui/widgets/Style.h"

namespace widgets {

namespace {

// The control's rectangle in window units, and whether it is shown and enabled, taking its
// panels into account.
QRect windowRect(const ui::Control& control) {
    QRectF rect = control.rect();
    for (const ui::Panel* panel = control.parent(); panel != nullptr; panel = panel->parent()) {
        rect.translate(panel->rect().topLeft());
    }
    return QRect(static_cast<int>(std::lround(rect.x())), static_cast<int>(std::lround(rect.y())),
                 static_cast<int>(std::lround(rect.width())),
                 static_cast<int>(std::lround(rect.height())));
}

bool enabledInWindow(const ui::Control& control) {
    for (const ui::Control* c = &control; c != nullptr; c = c->parent()) {
        if (!c->enabled()) {
            return false;
        }
    }
    return true;
}

Qt::Alignment alignmentOf(const ui::TextControl& control) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (control.horizontalAlign() == ui::Align::Center) {
        horizontal = Qt::AlignHCenter;
    } else if (control.horizontalAlign() == ui::Align::Trailing) {
        horizontal = Qt::AlignRight;
    }
    Qt::Alignment vertical = Qt::AlignVCenter;
    if (control.verticalAlign() == ui::Align::Leading) {
        vertical = Qt::AlignTop;
    } else if (control.verticalAlign() == ui::Align::Trailing) {
        vertical = Qt::AlignBottom;
    }
    return horizontal | vertical;
}

// Hundredths: track bars and progress bars hold fractions, Qt's widgets whole numbers.
int hundredths(double value) {
    return static_cast<int>(std::lround(value * 100.0));
}

void setFontIfChanged(QWidget* widget, const QFont& font) {
    if (widget->font() != font) {
        widget->setFont(font);
    }
}

// Text colours go through the palette: the window's style sheet leaves them to each widget.
void setTextColourIfChanged(QWidget* widget, QPalette::ColorRole role, QRgb colour) {
    const QColor wanted = QColor::fromRgba(colour);
    if (widget->palette().color(role) != wanted) {
        QPalette palette = widget->palette();
        palette.setColor(role, wanted);
        widget->setPalette(palette);
    }
}

// What a text measures to in a font and a width, measured again only when one of the three
// changes: measuring every label and caption at every event took longer than the rest of
// bringing the window in line.
template <class Result>
class Measured {
  public:
    template <class Measure>
    const Result& get(const QString& text, const QFont& font, double width, Measure measure) {
        if (!measuredFor_ || measuredFor_->text != text || measuredFor_->font != font ||
            measuredFor_->width != width) {
            measuredFor_ = Key{text, font, width};
            result_ = measure();
        }
        return result_;
    }

  private:
    struct Key {
        QString text;
        QFont font;
        double width;
    };
    std::optional<Key> measuredFor_;
    Result result_;
};

template <class ControlType, class WidgetType>
class Binding : public ControlBinding {
  public:
    Binding(ControlType& control, WidgetType* widget) : control_(control), widget_(widget) {
        widget_->setObjectName(control.name());
        // The window's style sheet reaches only the controls' widgets.
        widget_->setProperty(kControlProperty, true);
        // What the widget leaves unpainted shows the window's background beneath it.
        widget_->setAttribute(Qt::WA_NoSystemBackground);
    }

    const ui::Control& control() const override { return control_; }
    QWidget* widget() const override { return widget_; }

    void sync(Showing showing) override {
        const QRect rect = windowRect(control_);
        if (widget_->geometry() != rect) {
            widget_->setGeometry(rect);
        }
        syncState();
        // A hidden widget tells its item of a new place only when it shows: the item is placed
        // here, so that it is right also for what looks for it while hidden.
        if (QGraphicsProxyWidget* item = widget_->graphicsProxyWidget();
            item != nullptr && item->geometry() != QRectF(rect)) {
            item->setGeometry(rect);
        }
        widget_->setEnabled(enabledInWindow(control_));
        const bool shown = shownInWindow(control_);
        if (!shown || showing == Showing::Allowed || widget_->isVisible()) {
            widget_->setVisible(shown);
        }
    }

  protected:
    virtual void syncState() = 0;

    ControlType& control_;
    WidgetType* widget_;
};

class LabelBinding : public Binding<ui::Label, QLabel> {
  public:
    LabelBinding(ui::Label& label) : Binding(label, new QLabel()) {
        widget_->setTextFormat(Qt::PlainText);
        // Labels take no input: a press goes to whatever lies beneath them.
        widget_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void syncState() override {
        const QFont font = textFont(control_);
        setFontIfChanged(widget_, font);
        setTextColourIfChanged(widget_, QPalette::WindowText,
                               ui::palette().labelText(control_.fontColor()));
        const Qt::Alignment alignment = alignmentOf(control_);
        if (widget_->alignment() != alignment) {
            widget_->setAlignment(alignment);
        }
        if (widget_->wordWrap() != control_.wordWrap()) {
            widget_->setWordWrap(control_.wordWrap());
        }
        const QString shown = control_.wordWrap()
                                  ? control_.text()
                                  : cut_.get(control_.text(), font, control_.width(), [&] {
                                        return cutToWidth(control_.text(), font, control_.width());
                                    });
        if (widget_->text() != shown) {
            widget_->setText(shown);
        }
        if (widget_->accessibleName() != control_.text()) {
            widget_->setAccessibleName(control_.text());
        }
    }

  private:
    Measured<QString> cut_;
};

class ButtonBinding : public Binding<ui::Button, QPushButton> {
  public:
    ButtonBinding(ui::Button& button, const EventRunner& run) : Binding(button, new QPushButton()) {
        widget_->setAutoDefault(false);
        QObject::connect(widget_, &QPushButton::clicked, widget_,
                         [&button, run] { run([&button] { button.click(); }); });
    }

  protected:
    void syncState() override {
        setFontIfChanged(widget_,
                         captionFont_.get(control_.text(), textFont(control_), control_.width(),
                                          [this] { return buttonFont(control_); }));
        setTextColourIfChanged(widget_, QPalette::ButtonText,
                               ui::palette().buttonText(control_.selected(), control_.pressed(),
                                                        control_.fontColor()));
        // Qt toggles a checkable button by itself at a click; the control decides all the same.
        if (widget_->isCheckable() != control_.staysPressed()) {
            widget_->setCheckable(control_.staysPressed());
        }
        if (widget_->isChecked() != control_.pressed()) {
            widget_->setChecked(control_.pressed());
        }
        // An ampersand is shown as itself, not taken as a shortcut mark.
        QString shown = control_.text();
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (widget_->text() != shown) {
            widget_->setText(shown);
        }
        if (widget_->accessibleName() != control_.text()) {
            widget_->setAccessibleName(control_.text());
        }
    }

  private:
    Measured<QFont> captionFont_;
};

class TrackBarBinding : public Binding<ui::TrackBar, QSlider> {
  public:
    TrackBarBinding(ui::TrackBar& trackBar, const EventRunner& run)
        : Binding(trackBar, new QSlider()) {
        QObject::connect(widget_, &QSlider::valueChanged, widget_, [&trackBar, run](int value) {
            run([&trackBar, value] { trackBar.setValue(value / 100.0); });
        });
    }

  protected:
    void syncState() override {
        // Bringing the slider in line must not feed its value back into the control.
        const QSignalBlocker blocker(widget_);
        const Qt::Orientation orientation = control_.vertical() ? Qt::Vertical : Qt::Horizontal;
        if (widget_->orientation() != orientation) {
            widget_->setOrientation(orientation);
        }
        widget_->setRange(hundredths(control_.minimum()), hundredths(control_.maximum()));
        widget_->setValue(hundredths(control_.value()));
    }
};

class ProgressBarBinding : public Binding<ui::ProgressBar, QProgressBar> {
  public:
    ProgressBarBinding(ui::ProgressBar& bar) : Binding(bar, new QProgressBar()) {
        widget_->setTextVisible(false);
    }

  protected:
    void syncState() override {
        const Qt::Orientation orientation = control_.vertical() ? Qt::Vertical : Qt::Horizontal;
        if (widget_->orientation() != orientation) {
            widget_->setOrientation(orientation);
        }
        // Qt shows an empty range as a busy animation; an empty bar is what is meant.
        const int maximum = std::max(1, hundredths(control_.maximum()));
        widget_->setRange(0, maximum);
        widget_->setValue(std::min(maximum, hundredths(control_.value())));
    }
};

// A combo box with its arrow drawn as a shape, so that it stays sharp at any scale.
class ArrowComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QComboBox::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Text));
        const QPointF centre(width() - 12.0, height() / 2.0);
        const QPointF arrow[] = {centre + QPointF(-5, -2.5), centre + QPointF(5, -2.5),
                                 centre + QPointF(0, 3.5)};
        painter.drawPolygon(arrow, 3);
    }

    // The list opens below the box, as long as the window leaves room for, and scrolls the
    // rest: every entry can be reached with the mouse, however many there are.
    void showPopup() override {
        const QGraphicsProxyWidget* item = graphicsProxyWidget();
        const int row = view()->sizeHintForRow(0);
        if (item != nullptr && item->scene() != nullptr && row > 0) {
            const double room = item->scene()->sceneRect().bottom() -
                                item->sceneBoundingRect().bottom() - kListMargin;
            setMaxVisibleItems(std::max(1, static_cast<int>(room / row)));
        }
        // A scroll bar shows that there is more, and lets a mouse without a wheel reach it.
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        QComboBox::showPopup();
    }

  private:
    // Room left under the list for its frame, and for the window's edge to show.
    static constexpr double kListMargin = 12;
};

class ComboBoxBinding : public Binding<ui::ComboBox, QComboBox> {
  public:
    ComboBoxBinding(ui::ComboBox& combo, const EventRunner& run)
        : Binding(combo, new ArrowComboBox()) {
        widget_->setFont(ui::makeFont(14));
        // Only a choice of the user runs the change handler, never a change made by syncing.
        QObject::connect(widget_, &QComboBox::activated, widget_,
                         [&combo, run, box = widget_](int index) {
                             // The box shows the control's item until the handler has run, so
                             // that an item which opens a dialog is not shown while it is open.
                             {
                                 const QSignalBlocker blocker(box);
                                 box->setCurrentIndex(combo.itemIndex());
                             }
                             run([&combo, index] { combo.setItemIndex(index); });
                         });
    }

  protected:
    void syncState() override {
        const QSignalBlocker blocker(widget_);
        QStringList shown;
        for (int i = 0; i < widget_->count(); ++i) {
            shown.append(widget_->itemText(i));
        }
        if (shown != control_.items()) {
            widget_->clear();
            widget_->addItems(control_.items());
        }
        if (widget_->currentIndex() != control_.itemIndex()) {
            widget_->setCurrentIndex(control_.itemIndex());
        }
    }
};

class PanelBinding : public Binding<ui::Panel, QFrame> {
  public:
    PanelBinding(ui::Panel& panel) : Binding(panel, new QFrame()) {
        widget_->setProperty("kind", QStringLiteral("panel"));
        // A panel paints its own background, from the style sheet.
        widget_->setAttribute(Qt::WA_NoSystemBackground, false);
    }

  protected:
    void syncState() override {}
};

class ImageViewerBinding : public Binding<ui::ImageViewer, PictureView> {
  public:
    ImageViewerBinding(ui::ImageViewer& viewer, const EventRunner& run)
        : Binding(viewer, new PictureView()) {
        widget_->onPress = [&viewer, run](QPointF at) {
            if (viewer.onMouseDown) {
                run([&viewer, at] { viewer.onMouseDown(at.x(), at.y()); });
            }
        };
        widget_->onRelease = [&viewer, run](QPointF at) {
            if (viewer.onMouseUp) {
                run([&viewer, at] { viewer.onMouseUp(at.x(), at.y()); });
            }
        };
    }

  protected:
    void syncState() override {
        if (version_ != control_.pictureVersion()) {
            const std::optional<QRectF> changed = control_.changedSince(version_);
            version_ = control_.pictureVersion();
            widget_->setPicture(control_.picture(), changed);
        }
        widget_->setPictureScale(control_.bitmapScale());
        const Qt::CursorShape cursor =
            control_.handCursor() ? Qt::PointingHandCursor : Qt::ArrowCursor;
        if (widget_->cursor().shape() != cursor) {
            widget_->setCursor(cursor);
        }
    }

  private:
    unsigned version_ = 0;
};

}  // namespace

bool shownInWindow(const ui::Control& control) {
    for (const ui::Control* c = &control; c != nullptr; c = c->parent()) {
        if (!c->visible()) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<ControlBinding> makeBinding(ui::Control& control, const EventRunner& run) {
    switch (control.kind()) {
        case ui::ControlKind::Label:
            return std::make_unique<LabelBinding>(static_cast<ui::Label&>(control));
        case ui::ControlKind::Button:
            return std::make_unique<ButtonBinding>(static_cast<ui::Button&>(control), run);
        case ui::ControlKind::TrackBar:
            return std::make_unique<TrackBarBinding>(static_cast<ui::TrackBar&>(control), run);
        case ui::ControlKind::ProgressBar:
            return std::make_unique<ProgressBarBinding>(static_cast<ui::ProgressBar&>(control));
        case ui::ControlKind::ComboBox:
            return std::make_unique<ComboBoxBinding>(static_cast<ui::ComboBox&>(control), run);
        case ui::ControlKind::Panel:
            return std::make_unique<PanelBinding>(static_cast<ui::Panel&>(control));
        case ui::ControlKind::ImageViewer:
            return std::make_unique<ImageViewerBinding>(static_cast<ui::ImageViewer&>(control),
                                                        run);
    }
    return nullptr;
}

}  // namespace widgets
