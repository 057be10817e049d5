// The floor for press-to-pixels latency: a bare Qt Widgets window, full screen, that paints a
// picture of the answer table's size and place anew on every press (a grid of ten by nine cells,
// in another colour each time) and shows it.
#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {

// The answer table in the 1280 x 727 design.
constexpr double kDesignWidth = 1280;
constexpr double kDesignHeight = 727;
const QRectF kTable(416, 87, 783, 632);

class PictureWindow : public QWidget {
  public:
    PictureWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("Bare picture window"));
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        const double scale = std::min(width() / kDesignWidth, height() / kDesignHeight);
        const QPointF origin((width() - kDesignWidth * scale) / 2,
                             (height() - kDesignHeight * scale) / 2);
        target_ =
            QRect(QPoint(std::lround(origin.x() + kTable.x() * scale),
                         std::lround(origin.y() + kTable.y() * scale)),
                  QSize(std::lround(kTable.width() * scale), std::lround(kTable.height() * scale)));
        paintPicture();
    }

    void mousePressEvent(QMouseEvent*) override {
        ++presses_;
        paintPicture();
        update(target_);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xE0, 0xE0, 0xE0));
        painter.drawImage(target_.topLeft(), picture_);
    }

  private:
    void paintPicture() {
        picture_ = QImage(target_.size(), QImage::Format_ARGB32_Premultiplied);
        picture_.fill(presses_ % 2 ? QColor(0xC0, 0xC0, 0xC0) : QColor(0x69, 0x69, 0x69));
        QPainter painter(&picture_);
        painter.setPen(Qt::black);
        const double cellWidth = target_.width() / 10.0;
        const double cellHeight = target_.height() / 9.0;
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 10; ++column) {
                painter.drawRect(
                    QRectF(column * cellWidth, row * cellHeight, cellWidth, cellHeight));
            }
        }
    }

    QRect target_;
    QImage picture_;
    int presses_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PictureWindow window;
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    return app.exec();
}
