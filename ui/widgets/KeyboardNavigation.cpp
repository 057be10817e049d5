#include "ui/widgets/KeyboardNavigation.h"

#include <functional>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>

#include "ui/Look.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/PictureView.h"

namespace widgets {

namespace {

// Digits typed further apart than this begin a new number.
constexpr int kTypingPauseMs = 1500;
constexpr double kFrameWidth = 4;
// The high-contrast frame's two lines, in the viewer's units: the gaps between cells are 3 wide.
constexpr double kGapLineWidth = 2;
constexpr double kCellLineWidth = 3;

// Repaints only where a frame lies, on the viewer's whole picture: the frame widget covers the
// whole grid, which is large on a large screen.
void repaintFrameAt(QWidget* frame, const QRectF& at) {
    const double margin = kFrameWidth;
    frame->update(at.adjusted(-margin, -margin, margin, margin).toAlignedRect());
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The keys that work the window from the keyboard, after which the focus is framed.
bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Escape:
        case Qt::Key_F1:
            return true;
        default:
            return key >= Qt::Key_0 && key <= Qt::Key_9;
    }
}

// +1 for an arrow that goes on, -1 for one that goes back, 0 for any other key.
int arrowDirection(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            return +1;
        case Qt::Key_Left:
        case Qt::Key_Up:
            return -1;
        default:
            return 0;
    }
}

// The style sheet frames a focused control only while this property is set on it.
const char* const kFocusFrameProperty = "focusFrame";

// The frame of the focus cell, drawn over the grid's viewer while the viewer has the focus and
// frames are shown. The picture beneath stays as the form painted it.
class FocusFrame : public QWidget {
  public:
    FocusFrame(QWidget* grid, std::function<QRectF()> frame, std::function<bool()> shown,
               std::function<bool()> cellsShown)
        : QWidget(grid),
          frame_(std::move(frame)),
          shown_(std::move(shown)),
          cellsShown_(std::move(cellsShown)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(grid->rect());
        // The viewer is already shown: a child added now is not shown with it.
        show();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!parentWidget()->hasFocus() || !shown_()) {
            return;
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const ui::Palette& palette = ui::palette();
        painter.setBrush(Qt::NoBrush);
        // On a page (help, the game's rules) there is no cell to frame: the frame goes round
        // the viewer, inside its edges.
        const bool onCells = !cellsShown_ || cellsShown_();
        const QRectF cell =
            onCells ? frame_()
                    : QRectF(rect()).adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
        if (!palette.signs) {
            painter.setPen(QPen(QColor::fromRgba(palette.focusFrame), kFrameWidth));
            painter.drawRoundedRect(cell, 3, 3);
            return;
        }
        // Two lines, each on one background: a light one over the dark gaps round the cell and
        // a dark one just inside the cell's edge. On whatever cell, the light line stands out
        // from the gaps it covers, and the dark line parts it from a light cell.
        const double outer = kGapLineWidth, inner = kCellLineWidth;
        painter.setPen(QPen(QColor::fromRgba(palette.focusFrameOnGap), outer));
        painter.drawRoundedRect(cell.adjusted(-outer / 2, -outer / 2, outer / 2, outer / 2), 3, 3);
        painter.setPen(QPen(QColor::fromRgba(palette.focusFrame), inner));
        painter.drawRoundedRect(cell.adjusted(inner / 2, inner / 2, -inner / 2, -inner / 2), 2, 2);
    }

  private:
    std::function<QRectF()> frame_;
    std::function<bool()> shown_;
    std::function<bool()> cellsShown_;
};

}  // namespace

KeyboardNavigation::KeyboardNavigation(FormView& view, ui::KeyboardRoles roles)
    : QObject(&view), view_(view), roles_(std::move(roles)) {
    grid_ = static_cast<PictureView*>(view_.widgetFor(*roles_.grid.viewer));
    for (ui::Control* control : roles_.focusOrder) {
        if (QWidget* widget = view_.widgetFor(*control)) {
            // A click on a button or a cell leaves the focus where it was, so that a mouse click
            // leaves no frame behind; track bars and the language box take it as Qt's do.
            if (widget == grid_ || qobject_cast<QPushButton*>(widget) != nullptr) {
                widget->setFocusPolicy(Qt::TabFocus);
            }
            order_.push_back(widget);
            if (widget != grid_) {
                widget->installEventFilter(this);
            }
        }
    }
    frame_ = new FocusFrame(
        grid_, [this] { return roles_.grid.frame(cell_.column, cell_.row); },
        [this] { return framesShown_; }, roles_.grid.cellsShown);
    grid_->installEventFilter(this);
    view_.installEventFilter(this);
    viewport_ = view_.viewport();
    viewport_->installEventFilter(this);

    // Connected after the button's own click, so the run has begun when this looks.
    auto* start = static_cast<QPushButton*>(view_.widgetFor(*roles_.start));
    connect(start, &QPushButton::clicked, this, [this] { focusGridWhenAnswering(); });
}

QWidget* KeyboardNavigation::focusedWidget() const {
    return view_.focusedWidget();
}

bool KeyboardNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view_ && event->type() == QEvent::KeyPress) {
        return keyPressed(static_cast<QKeyEvent*>(event));
    }
    if (watched == viewport_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::TouchBegin:
                showFrames(false);
                break;
            default:
                break;
        }
        return false;
    }
    // The controls' widgets other than the grid, whose frame is its own.
    if (event->type() == QEvent::FocusIn && watched != &view_ && watched != grid_) {
        frameIfShown(static_cast<QWidget*>(watched));
        return false;
    }
    if (watched == grid_) {
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                repaintFrameAt(frame_, roles_.grid.frame(cell_.column, cell_.row));
                break;
            case QEvent::Resize:
                frame_->setGeometry(grid_->rect());
                break;
            case QEvent::MouseButtonPress:
                followMouse(static_cast<QMouseEvent*>(event)->position());
                break;
            default:
                break;
        }
    }
    return false;
}

bool KeyboardNavigation::keyPressed(QKeyEvent* key) {
    const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (isNavigationKey(key->key())) {
        showFrames(true);
    }
    if (key->key() == Qt::Key_Tab && plain) {
        moveFocus(+1);
        return true;
    }
    if (key->key() == Qt::Key_Backtab && plain) {
        moveFocus(-1);
        return true;
    }
    if (runShortcut(key)) {
        return true;
    }
    QWidget* focused = focusedWidget();
    // A control that is hidden, disabled or covered takes no keys, as it takes no clicks.
    if (focused == nullptr || !reachable(focused)) {
        return true;
    }
    if (focused == grid_) {
        return gridKey(key);
    }
    if (auto* slider = qobject_cast<QSlider*>(focused)) {
        return sliderKey(slider, key);
    }
    if (auto* button = qobject_cast<QPushButton*>(focused)) {
        if (isEnter(key)) {
            if (!key->isAutoRepeat()) {
                button->click();
            }
            return true;
        }
        // Arrows walk on as Tab does: Qt's own step could land on a covered button.
        if (const int direction = arrowDirection(key)) {
            moveFocus(direction);
            return true;
        }
    }
    return false;
}

bool KeyboardNavigation::reachable(const QWidget* widget) const {
    return view_.reachable(widget);
}

void KeyboardNavigation::moveFocus(int direction) {
    const int count = static_cast<int>(order_.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (order_[i] == focusedWidget()) {
            current = i;
        }
    }
    if (current < 0) {
        current = direction > 0 ? -1 : count;
    }
    for (int step = 1; step <= count; ++step) {
        QWidget* candidate = order_[((current + direction * step) % count + count) % count];
        if (reachable(candidate)) {
            candidate->setFocus(direction > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool KeyboardNavigation::runShortcut(const QKeyEvent* key) {
    bool known = false;
    for (const ui::KeyShortcut& shortcut : roles_.shortcuts) {
        if (shortcut.key != key->key()) {
            continue;
        }
        known = true;
        // A held key acts once, as a held mouse button clicks once.
        if (key->isAutoRepeat()) {
            return true;
        }
        auto* button = static_cast<QPushButton*>(view_.widgetFor(*shortcut.button));
        if (shortcut.allowed() && reachable(button)) {
            button->click();
            return true;
        }
    }
    return known;
}

bool KeyboardNavigation::gridKey(QKeyEvent* key) {
    const ui::KeyboardGrid& grid = roles_.grid;
    const auto move = [&](int columnStep, int rowStep) {
        typed_.clear();
        setCell(movedCell(cell_, columnStep, rowStep, grid.columns, grid.rows));
        return true;
    };
    switch (key->key()) {
        case Qt::Key_Left:
            return move(-1, 0);
        case Qt::Key_Right:
            return move(+1, 0);
        case Qt::Key_Up:
            return move(0, -1);
        case Qt::Key_Down:
            return move(0, +1);
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // Holding the key down answers once, as holding the mouse button does.
            if (!key->isAutoRepeat()) {
                pressFocusCell();
            }
            return true;
        default:
            break;
    }
    if (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9 && grid.numbered()) {
        typeDigit(QChar('0' + (key->key() - Qt::Key_0)));
    }
    return true;
}

void KeyboardNavigation::typeDigit(QChar digit) {
    const int largest = roles_.grid.columns * roles_.grid.rows;
    if (!sinceTyped_.isValid() || sinceTyped_.elapsed() > kTypingPauseMs) {
        typed_.clear();
    }
    typed_ = withTypedDigit(typed_, digit, largest);
    sinceTyped_.start();
    if (const auto cell = cellOfNumber(typed_.toInt(), roles_.grid.columns, largest)) {
        setCell(*cell);
    }
}

void KeyboardNavigation::pressCell(GridCell cell) {
    setCell(cell);
    pressFocusCell();
}

void KeyboardNavigation::pressFocusCell() {
    typed_.clear();
    const QPointF at = roles_.grid.centre(cell_.column, cell_.row);
    if (grid_->onPress) {
        grid_->onPress(at);
    }
    if (grid_->onRelease) {
        grid_->onRelease(at);
    }
}

bool KeyboardNavigation::sliderKey(QSlider* slider, QKeyEvent* key) {
    int direction = 0;
    if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Up) {
        direction = +1;
    } else if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Down) {
        direction = -1;
    } else {
        return false;
    }
    // The slider keeps to its range, and signals only a real change.
    slider->setValue(wholeStep(slider->value(), direction));
    return true;
}

void KeyboardNavigation::setCell(GridCell cell) {
    if (cell == cell_) {
        return;
    }
    const QRectF before = roles_.grid.frame(cell_.column, cell_.row);
    cell_ = cell;
    if (onFocusCellMoved) {
        onFocusCellMoved();
    }
    // Without the focus no frame is drawn, and nothing changes on the screen.
    if (grid_->hasFocus()) {
        repaintFrameAt(frame_, before);
        repaintFrameAt(frame_, roles_.grid.frame(cell_.column, cell_.row));
    }
}

// The frame goes where the mouse pressed, so that the keys go on from there.
void KeyboardNavigation::followMouse(QPointF at) {
    for (int row = 1; row <= roles_.grid.rows; ++row) {
        for (int column = 1; column <= roles_.grid.columns; ++column) {
            if (roles_.grid.frame(column, row).contains(at)) {
                typed_.clear();
                setCell({column, row});
                return;
            }
        }
    }
}

void KeyboardNavigation::showFrames(bool shown) {
    if (framesShown_ == shown) {
        return;
    }
    framesShown_ = shown;
    if (QWidget* focused = focusedWidget(); focused != nullptr && focused != grid_) {
        frameIfShown(focused);
    }
    if (grid_->hasFocus()) {
        repaintFrameAt(frame_, roles_.grid.frame(cell_.column, cell_.row));
    }
}

void KeyboardNavigation::frameIfShown(QWidget* widget) {
    if (widget->property(kFocusFrameProperty).toBool() == framesShown_) {
        return;
    }
    widget->setProperty(kFocusFrameProperty, framesShown_);
    // The style sheet reads a property only when the widget is polished again. Unpolishing puts
    // back the font and palette the widget had when the style sheet first polished it, which may
    // be Qt's defaults (the accessibility bus polishes the widgets before the design's font is
    // set): the widget keeps the ones the window gave it.
    const QFont font = widget->font();
    const QPalette palette = widget->palette();
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    if (widget->font() != font) {
        widget->setFont(font);
    }
    if (widget->palette() != palette) {
        widget->setPalette(palette);
    }
    widget->update();
}

void KeyboardNavigation::focusGridWhenAnswering() {
    if (roles_.answering() && reachable(grid_)) {
        grid_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace widgets
