#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

constexpr int kPdfResolution = 300;

// The PDF's document. Its tables are drawn only when their page is printed and not kept: held
// all at once they would take fresh memory, whose first touch costs more than drawing them.
class ReportDocument : public QTextDocument, public Pictures {
  public:
    QString add(const QImage& image) override {
        const QString name = QStringLiteral("picture%1").arg(++count_);
        addResource(QTextDocument::ImageResource, QUrl(name), image);
        return name;
    }
    QString add(const Drawing& draw) override {
        const QString name = QStringLiteral("table%1").arg(drawings_.size());
        drawings_.push_back(draw);
        return name;
    }

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QString path = name.toString();
        if (type == QTextDocument::ImageResource && path.startsWith(QLatin1String("table"))) {
            bool number = false;
            const auto index = static_cast<std::size_t>(path.mid(5).toULongLong(&number));
            if (number && index < drawings_.size()) {
                return drawings_[index](tableBitmap_);
            }
        }
        return QTextDocument::loadResource(type, name);
    }

  private:
    std::vector<Drawing> drawings_;
    int count_ = 0;
};

// Letter paper where the paper's locale is American or Canadian: LC_ALL, else LC_PAPER, else
// LANG, as the C library reads them (Qt's own locale looks at LC_PAPER only by chance).
bool usesLetter() {
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (value.isEmpty()) {
            continue;
        }
        const QLocale paper(QString::fromLatin1(value.split('.').constFirst()));
        return paper.territory() == QLocale::UnitedStates || paper.territory() == QLocale::Canada;
    }
    return false;
}

}  // namespace

// Lays the HTML out on the pages and prints them. Printed by hand rather than by
// QTextDocument::print, whose painter would store the tables' flat colours as JPEG: lossless
// they are sharper and a fraction of the size.
void writePdf(QIODevice& device, const Request& request, const Collected& collected) {
    const QString title = text(reportLanguage(request, collected), Text::Title);
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(usesLetter() ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 20), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Kestrova"));

    ReportDocument document;
    // Sizes in points and CSS pixels are measured on the PDF's own resolution.
    document.documentLayout()->setPaintDevice(&writer);
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    document.setPageSize(page);
    // A hint of letter spacing turns the font's ligatures off, so that a name copied from the PDF
    // ("Sofia", not "So\uFB01a") is the name.
    QFont font(ui::familyName(ui::FontFamily::Default), 10);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    document.setDefaultFont(font);
    document.setHtml(documentHtml(request, collected, document));

    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int pages = document.pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -p * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, p * page.height()), page));
        painter.restore();
        // The page's number in the bottom margin.
        painter.setFont(QFont(ui::familyName(ui::FontFamily::Default), 9));
        painter.drawText(QRectF(0, page.height(), page.width(), kPdfResolution / 3.0),
                         Qt::AlignCenter, QString::number(p + 1));
    }
}

}  // namespace report
