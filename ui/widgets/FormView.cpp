#include "ui/widgets/FormView.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPainter>

#include "ui/widgets/CachedTextStyle.h"
#include "ui/widgets/ControlBindings.h"
#include "ui/widgets/PictureView.h"
#include "ui/widgets/Style.h"

namespace widgets {

namespace {

QLinearGradient backgroundGradient() {
    // In design units: white along the top edge, grey along the bottom, and the same colours
    // continued beyond the design where the window has another aspect.
    QLinearGradient gradient(0, 0, 0, FormView::kDesignHeight);
    gradient.setColorAt(0, QColor::fromRgba(ui::palette().windowTop));
    gradient.setColorAt(1, QColor::fromRgba(ui::palette().windowBottom));
    gradient.setSpread(QGradient::PadSpread);
    return gradient;
}

// A panel's item, which leaves unpainted the whole screen pixels that a picture above it covers
// with opaque pixels: the panel fills its background twice, and the picture then paints every one
// of those pixels over both. Its edges and whatever the picture leaves are painted as ever.
class PanelItem : public QGraphicsProxyWidget {
  public:
    using Covered = std::function<QRegion(const QGraphicsItem&, const QTransform&)>;
    explicit PanelItem(Covered covered) : covered_(std::move(covered)) {}

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option,
               QWidget* widget) override {
        const QTransform world = painter->worldTransform();
        const QTransform device = painter->deviceTransform();
        if (device.type() > QTransform::TxScale || !device.isInvertible()) {
            QGraphicsProxyWidget::paint(painter, option, widget);
            return;
        }
        const QTransform sceneToDevice = sceneTransform().inverted() * device;
        const QRegion covered = covered_(*this, sceneToDevice);
        if (covered.isEmpty()) {
            QGraphicsProxyWidget::paint(painter, option, widget);
            return;
        }
        const QRegion kept =
            QRegion(device.mapRect(boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1)) -
            covered;
        painter->save();
        // The clip in whole screen pixels: set with a transform that maps to them one to one.
        painter->setWorldTransform(device.inverted() * world);
        painter->setClipRegion(kept, Qt::IntersectClip);
        painter->setWorldTransform(world);
        QGraphicsProxyWidget::paint(painter, option, widget);
        painter->restore();
    }

  private:
    Covered covered_;
};

}  // namespace

FormView::FormView(const std::vector<ui::Control*>& controls, ui::Timer& timer,
                   Dispatcher dispatcher, FirstFrame firstFrame, QWidget* parent)
    : QGraphicsView(parent),
      formTimer_(timer),
      dispatch_(std::move(dispatcher)),
      scene_(new QGraphicsScene(this)),
      holdingBack_(firstFrame == FirstFrame::PaintedBeforeWidgetsShow) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
    setAlignment(Qt::AlignCenter);
    // The view paints every pixel of the window with its background and the controls: what
    // lies beneath it is not painted first, once for the window and once for the viewport.
    setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setScene(scene_);
    scene_->setSceneRect(0, 0, kDesignWidth, kDesignHeight);

    // The style sheet is the application's, parsed once for all the controls, which are windows
    // of their own in the scene; it styles only widgets marked as controls.
    // Its base style draws the captions, large ones once (CachedTextStyle).
    installCachedTextStyle();
    showLook();
    controls_ = controls;
    bindings_.resize(controls.size());
    run_ = [this](const std::function<void()>& handler) { runEvent(handler); };

    timer_.setInterval(formTimer_.interval());
    connect(&timer_, &QTimer::timeout, this, [this] {
        // No tick while an error message waits for the user: the run stands still meanwhile
        // instead of piling up further messages.
        if (QApplication::activeModalWidget() != nullptr) {
            return;
        }
        runEvent([this] { formTimer_.tick(); });
    });

    syncFromControls();
    fitDesign();
}

FormView::~FormView() {
    if (onDestroying) {
        onDestroying();
    }
}

void FormView::runEvent(const std::function<void()>& handler) {
    dispatch_(handler);
    syncFromControls();
}

// One item of the scene per control, stacked in the controls' order. Qt repaints each item within
// one rectangle, the union of its changes: a control of its own repaints no more than itself,
// where one item for the whole design would repaint everything between two changes.
ControlBinding& FormView::binding(std::size_t index) const {
    if (!bindings_[index]) {
        bindings_[index] = makeBinding(*controls_[index], run_);
        QWidget* widget = bindings_[index]->widget();
        // Embedded hidden, a widget gets a window of the system only when it is first shown.
        widget->hide();
        QGraphicsProxyWidget* item = nullptr;
        if (controls_[index]->kind() == ui::ControlKind::Panel) {
            item = new PanelItem([this](const QGraphicsItem& panel, const QTransform& device) {
                return opaquelyCovered(panel, device);
            });
        } else {
            item = new QGraphicsProxyWidget();
        }
        item->setWidget(widget);
        scene_->addItem(item);
        item->setZValue(static_cast<double>(index));
        // The design decides the size, not the widget's own idea of its smallest size.
        item->setMinimumSize(0, 0);
        if (widget->testAttribute(Qt::WA_TransparentForMouseEvents)) {
            // A press goes to whatever lies beneath.
            item->setAcceptedMouseButtons(Qt::NoButton);
            item->setAcceptHoverEvents(false);
        }
        bindings_[index]->sync(showing());
    }
    return *bindings_[index];
}

// The style sheet and background of the look in use, set again only when the look changes: the
// application's style sheet polishes every widget anew.
void FormView::showLook() {
    shownLook_ = ui::currentLook();
    const QString sheet = windowStyleSheet(shownLook_);
    if (qApp->styleSheet() != sheet) {
        qApp->setStyleSheet(sheet);
    }
    viewport()->update();
}

void FormView::syncFromControls() {
    if (shownLook_ != ui::currentLook()) {
        showLook();
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        // The widget of a control never shown yet is made when it first shows: the first frame
        // comes sooner, and the rest are made once it is on the screen.
        if (!bindings_[i]) {
            if (shownInWindow(*controls_[i])) {
                binding(i);
            }
            continue;
        }
        bindings_[i]->sync(showing());
    }
    // Each widget is a window to Qt, which hands its repaints to the scene later, at a low
    // priority, and after the scene has already painted what was hidden or shown: the table then
    // came a frame after the labels. Handed over now, every change of the event is in one frame.
    for (const auto& binding : bindings_) {
        if (binding) {
            QCoreApplication::sendPostedEvents(binding->widget(), QEvent::UpdateRequest);
        }
    }
    syncTimer();
    if (onSynced) {
        onSynced();
    }
}

ControlBinding::Showing FormView::showing() const {
    return holdingBack_ ? ControlBinding::Showing::HeldBack : ControlBinding::Showing::Allowed;
}

void FormView::showHeldBackWidgets() const {
    if (!holdingBack_) {
        return;
    }
    holdingBack_ = false;
    // Their items then paint the same pixels as the window did.
    const_cast<FormView*>(this)->syncFromControls();
}

void FormView::makeRemainingWidgets() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        binding(i);
    }
}

bool FormView::viewportEvent(QEvent* event) {
    // A press goes to the widgets' items, which take it only when shown. The pointer merely
    // passing over the window, as it does when the window first appears under it, waits.
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
        case QEvent::ContextMenu:
            showHeldBackWidgets();
            break;
        default:
            break;
    }
    const bool handled = QGraphicsView::viewportEvent(event);
    if (event->type() == QEvent::Paint && !remainingScheduled_) {
        remainingScheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            showHeldBackWidgets();
            makeRemainingWidgets();
        });
    }
    return handled;
}

bool FormView::event(QEvent* event) {
    // A key is offered to the window as a shortcut before the keyboard's filter sees it.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        showHeldBackWidgets();
    }
    return QGraphicsView::event(event);
}

void FormView::syncTimer() {
    if (formTimer_.enabled() && !timer_.isActive()) {
        timer_.start();
    } else if (!formTimer_.enabled() && timer_.isActive()) {
        timer_.stop();
    }
}

QWidget* FormView::focusedWidget() const {
    showHeldBackWidgets();
    for (const auto& binding : bindings_) {
        if (binding && binding->widget()->hasFocus()) {
            return binding->widget();
        }
    }
    return nullptr;
}

QWidget* FormView::widgetAt(QPointF designPoint) const {
    showHeldBackWidgets();
    const QList<QGraphicsItem*> items =
        scene_->items(designPoint, Qt::IntersectsItemShape, Qt::DescendingOrder);
    for (const QGraphicsItem* item : items) {
        if (!item->isVisible() || item->acceptedMouseButtons() == Qt::NoButton) {
            continue;
        }
        const auto* proxy = dynamic_cast<const QGraphicsProxyWidget*>(item);
        if (proxy == nullptr) {
            return nullptr;
        }
        // The open list of the language box lies over the window, not in it.
        if (proxy->widget()->windowType() == Qt::Popup) {
            continue;
        }
        return proxy->widget();
    }
    return nullptr;
}

bool FormView::reachable(const QWidget* widget) const {
    if (!widget->isVisible() || !widget->isEnabled()) {
        return false;
    }
    // Each control's widget is a window of the scene, placed at its design rectangle.
    return widgetAt(QRectF(widget->geometry()).center()) == widget;
}

bool FormView::covered(const QWidget* widget) const {
    const QGraphicsProxyWidget* item = widget->graphicsProxyWidget();
    if (item == nullptr) {
        return false;
    }
    const QWidget* top = widgetAt(QRectF(widget->geometry()).center());
    return top != nullptr && top != widget && top->graphicsProxyWidget()->zValue() > item->zValue();
}

ui::Control* FormView::controlOf(const QObject* widget) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (bindings_[i] && bindings_[i]->widget() == widget) {
            return controls_[i];
        }
    }
    return nullptr;
}

QRect FormView::screenRect(const QRectF& design) const {
    const QRectF inWindow(mapFromDesign(design.topLeft()), mapFromDesign(design.bottomRight()));
    return QRectF(mapToGlobal(inWindow.topLeft()), inWindow.size()).toAlignedRect();
}

QWidget* FormView::widgetFor(const ui::Control& control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == &control) {
            return binding(i).widget();
        }
    }
    return nullptr;
}

double FormView::designScale() const {
    const QSize area = viewport()->size();
    return std::min(area.width() / static_cast<double>(kDesignWidth),
                    area.height() / static_cast<double>(kDesignHeight));
}

QPointF FormView::mapFromDesign(QPointF point) const {
    return viewportTransform().map(point) + QPointF(viewport()->pos());
}

void FormView::fitDesign() {
    const double scale = designScale();
    if (scale > 0) {
        setTransform(QTransform::fromScale(scale, scale));
    }
}

void FormView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    fitDesign();
}

void FormView::closeEvent(QCloseEvent* event) {
    if (onClose) {
        dispatch_(onClose);
    }
    event->accept();
}

QRegion FormView::opaquelyCovered(const QGraphicsItem& below, const QTransform& device) const {
    QRegion covered;
    if (holdingBack_) {
        return covered;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i]->kind() != ui::ControlKind::ImageViewer || !bindings_[i]) {
            continue;
        }
        const auto* viewer = static_cast<const PictureView*>(bindings_[i]->widget());
        const QGraphicsProxyWidget* item = viewer->graphicsProxyWidget();
        if (!viewer->isVisible() || item == nullptr || !item->isVisible() ||
            item->zValue() <= below.zValue() || item->effectiveOpacity() < 1.0) {
            continue;
        }
        const QRectF area = viewer->opaqueArea();
        if (area.isEmpty()) {
            continue;
        }
        // A pixel on the picture's edge may be smoothed with what lies beyond it: one is spared.
        const QRectF pixels = device.mapRect(item->sceneTransform().mapRect(area));
        const QRect inner(QPoint(static_cast<int>(std::ceil(pixels.left())) + 1,
                                 static_cast<int>(std::ceil(pixels.top())) + 1),
                          QPoint(static_cast<int>(std::floor(pixels.right())) - 2,
                                 static_cast<int>(std::floor(pixels.bottom())) - 2));
        if (inner.isValid()) {
            covered += inner;
        }
    }
    return covered;
}

void FormView::drawBackground(QPainter* painter, const QRectF& rect) {
    const QTransform device = painter->deviceTransform();
    if (holdingBack_ || device.type() > QTransform::TxScale || !device.isInvertible()) {
        painter->fillRect(rect, backgroundGradient());
        return;
    }
    // A panel paints every whole screen pixel inside it with opaque colour, whatever lies
    // beneath: the gradient is filled only around the panels shown, in whole screen pixels.
    // Without smoothing, a pixel is filled when its centre lies in a rectangle, so the pixels
    // filled are those the rectangles hold, each in the colour the whole fill gives it.
    QRegion area(device.mapRect(rect).toAlignedRect());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i]->kind() != ui::ControlKind::Panel || !bindings_[i]) {
            continue;
        }
        const QWidget* panel = bindings_[i]->widget();
        const QGraphicsProxyWidget* item = panel->graphicsProxyWidget();
        if (!panel->isVisible() || item == nullptr || !item->isVisible() ||
            item->effectiveOpacity() < 1.0) {
            continue;
        }
        const QRectF pixels = device.mapRect(item->sceneBoundingRect());
        const QRect inner(QPoint(static_cast<int>(std::ceil(pixels.left())),
                                 static_cast<int>(std::ceil(pixels.top()))),
                          QPoint(static_cast<int>(std::floor(pixels.right())) - 1,
                                 static_cast<int>(std::floor(pixels.bottom())) - 1));
        if (inner.isValid()) {
            area -= inner;
        }
    }
    const QTransform toScene = device.inverted();
    const QBrush gradient(backgroundGradient());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& pixels : area) {
        painter->fillRect(toScene.mapRect(QRectF(pixels)), gradient);
    }
    painter->restore();
}

// While the widgets are held back, their items are hidden and the window paints them here, in
// the items' order and as an item paints its widget.
void FormView::drawForeground(QPainter* painter, const QRectF& rect) {
    if (!holdingBack_) {
        return;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!bindings_[i] || !shownInWindow(*controls_[i])) {
            continue;
        }
        QWidget* widget = bindings_[i]->widget();
        const QRect place = widget->geometry();
        if (widget->isVisible() || !rect.intersects(place)) {
            continue;
        }
        painter->save();
        painter->translate(place.topLeft());
        widget->render(painter, QPoint(), QRegion(widget->rect()));
        painter->restore();
    }
}

}  // namespace widgets
