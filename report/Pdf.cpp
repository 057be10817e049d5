#include <algorithm>
#include <cstring>

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QUrl>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

constexpr int kPdfResolution = 300;

constexpr int kTableObject = QTextFormat::UserObject + 1;
constexpr int kTableIndex = QTextFormat::UserProperty + 1;

// The tables as objects of the PDF's text, painted where the page is printed by the window's own
// painters straight on the page's painter: shapes and text, sharp at any size, their numbers text.
class Tables : public QObject, public QTextObjectInterface {
  public:
    explicit Tables(double pixelsPerCssPixel) : scale_(pixelsPerCssPixel) {}

    // Found by the document's layout as its handler without the meta-object compiler.
    void* qt_metacast(const char* name) override {
        if (std::strcmp(name, qobject_interface_iid<QTextObjectInterface*>()) == 0) {
            return static_cast<QTextObjectInterface*>(this);
        }
        return QObject::qt_metacast(name);
    }

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        return QSizeF(format.doubleProperty(QTextFormat::ImageWidth),
                      format.doubleProperty(QTextFormat::ImageHeight)) *
               scale_;
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const auto index = static_cast<std::size_t>(format.intProperty(kTableIndex));
        if (index >= drawings.size()) {
            return;
        }
        bitmap_.setSize(kGridWidth, kGridHeight);
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / kGridWidth, rect.height() / kGridHeight);
        {
            ui::Canvas canvas(bitmap_, *painter);
            drawings[index](canvas);
        }
        painter->restore();
    }

    std::vector<Drawing> drawings;

  private:
    double scale_;
    ui::Bitmap bitmap_;
};

// The PDF's document: its tables are named in the HTML as pictures "table<n>", and become the
// table objects once it is read.
class ReportDocument : public QTextDocument, public Pictures {
  public:
    explicit ReportDocument(double pixelsPerCssPixel) : tables_(pixelsPerCssPixel) {}

    QString add(const Drawing& draw) override {
        const QString name = QStringLiteral("table%1").arg(tables_.drawings.size());
        tables_.drawings.push_back(draw);
        return name;
    }

    // Reads the HTML and turns its tables into the table objects before the document has a
    // layout, then lays it out once on the device's pages: every change made under a layout
    // would lay the document out again.
    void setHtmlWithTables(const QString& html, QPaintDevice& device, const QSizeF& page) {
        setHtml(html);
        struct Found {
            int position;
            QTextCharFormat format;
        };
        std::vector<Found> found;
        for (QTextBlock block = begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const QString name = format.toImageFormat().name();
                if (!format.isImageFormat() || !name.startsWith(QLatin1String("table"))) {
                    continue;
                }
                // The picture's own format (its font, its size) as an object of the tables'.
                QTextCharFormat table = format;
                table.setObjectType(kTableObject);
                table.setProperty(kTableIndex, name.mid(5).toInt());
                found.push_back({it.fragment().position(), table});
            }
        }
        QTextCursor cursor(this);
        cursor.beginEditBlock();
        for (const Found& table : found) {
            cursor.setPosition(table.position);
            cursor.setPosition(table.position + 1, QTextCursor::KeepAnchor);
            cursor.setCharFormat(table.format);
        }
        cursor.endEditBlock();
        documentLayout()->registerHandler(kTableObject, &tables_);
        // Sizes in points and CSS pixels are measured on the device's own resolution.
        documentLayout()->setPaintDevice(&device);
        setPageSize(page);
    }

  protected:
    // The tables' places hold no picture.
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource &&
            name.toString().startsWith(QLatin1String("table"))) {
            QImage none(1, 1, QImage::Format_RGB32);
            none.fill(Qt::white);
            return none;
        }
        return QTextDocument::loadResource(type, name);
    }

  private:
    Tables tables_;
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

// Lays the HTML out on the pages and prints them, each page's number in its bottom margin.
void writePdf(QIODevice& device, const Request& request, const Collected& collected) {
    const QString title = text(reportLanguage(request, collected), Text::Title);
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(usesLetter() ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 20), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Kestrova"));

    ReportDocument document(kPdfResolution / 96.0);
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    // A hint of letter spacing turns the font's ligatures off, so that a name copied from the PDF
    // ("Sofia", not "So\uFB01a") is the name.
    QFont font(ui::familyName(ui::FontFamily::Default), 10);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    document.setDefaultFont(font);
    document.setHtmlWithTables(documentHtml(request, collected, document), writer, page);

    QPainter painter(&writer);
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
