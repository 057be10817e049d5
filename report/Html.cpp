#include <QBuffer>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

class InlinePictures : public Pictures {
  public:
    QString add(const Drawing& draw) override {
        bitmap_.setSize(kGridWidth, kGridHeight);
        {
            ui::Canvas canvas(bitmap_);
            draw(canvas);
        }
        return add(bitmap_.image().convertToFormat(QImage::Format_RGB888));
    }

  private:
    QString add(const QImage& image) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }

    ui::Bitmap bitmap_;
};

}  // namespace

QByteArray htmlFile(const Request& request, const Collected& collected) {
    InlinePictures pictures;
    return documentHtml(request, collected, pictures).toUtf8();
}

}  // namespace report
