#include <QBuffer>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

class InlinePictures : public Pictures {
  public:
    QString add(const Drawing& draw) override { return add(draw(tableBitmap_)); }
    QString add(const QImage& image) override {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
};

}  // namespace

QByteArray htmlFile(const Request& request, const Collected& collected) {
    InlinePictures pictures;
    return documentHtml(request, collected, pictures).toUtf8();
}

}  // namespace report
