#include "ui/widgets/FormView.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPainter>

#include "ui/widgets/ControlBindings.h"
#include "ui/widgets/Style.h"

namespace widgets {

namespace {

QLinearGradient backgroundGradient() {
    // In design units: white along the top edge, grey along the bottom, and the same colours
    // continued beyond the design where the window has another aspect.
    QLinearGradient gradient(0, 0, 0, FormView::kDesignHeight);
    gradient.setColorAt(0, QColor::fromRgba(kBackgroundTop));
    gradient.setColorAt(1, QColor::fromRgba(kBackgroundBottom));
    gradient.setSpread(QGradient::PadSpread);
    return gradient;
}

// The design surface: the window's background behind every control.
class DesignWidget : public QWidget {
  public:
    DesignWidget() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(FormView::kDesignWidth, FormView::kDesignHeight);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), backgroundGradient());
    }
};

}  // namespace

FormView::FormView(const std::vector<ui::Control*>& controls, ui::Timer& timer,
                   Dispatcher dispatcher, QWidget* parent)
    : QGraphicsView(parent),
      formTimer_(timer),
      dispatch_(std::move(dispatcher)),
      scene_(new QGraphicsScene(this)),
      design_(new DesignWidget) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
    setAlignment(Qt::AlignCenter);
    setScene(scene_);
    scene_->setSceneRect(0, 0, kDesignWidth, kDesignHeight);

    design_->setStyleSheet(windowStyleSheet());
    const EventRunner run = [this](const std::function<void()>& handler) { runEvent(handler); };
    for (ui::Control* control : controls) {
        bindings_.push_back(makeBinding(*control, design_, run));
    }

    timer_.setInterval(formTimer_.interval());
    connect(&timer_, &QTimer::timeout, this, [this] {
        // No tick while an error message waits for the user: the run stands still meanwhile
        // instead of piling up further messages.
        if (QApplication::activeModalWidget() != nullptr) {
            return;
        }
        runEvent([this] { formTimer_.tick(); });
    });

    // Widgets set up before they join the scene are polished there once.
    syncFromControls();
    scene_->addWidget(design_);
    fitDesign();
}

FormView::~FormView() = default;

void FormView::runEvent(const std::function<void()>& handler) {
    dispatch_(handler);
    syncFromControls();
}

void FormView::syncFromControls() {
    for (const auto& binding : bindings_) {
        binding->sync();
    }
    syncTimer();
}

void FormView::syncTimer() {
    if (formTimer_.enabled() && !timer_.isActive()) {
        timer_.start();
    } else if (!formTimer_.enabled() && timer_.isActive()) {
        timer_.stop();
    }
}

QWidget* FormView::widgetFor(const ui::Control& control) const {
    for (const auto& binding : bindings_) {
        if (&binding->control() == &control) {
            return binding->widget();
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

void FormView::drawBackground(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, backgroundGradient());
}

}  // namespace widgets
