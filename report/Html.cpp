#include <QBuffer>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString cell(const QString& content, const QString& attributes = {}) {
    return QStringLiteral("<td%1>%2</td>")
        .arg(attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes, content);
}

QString cell(const Cell& c) {
    QString attributes = c.number ? QStringLiteral("class=\"n\"") : QString();
    if (c.background != 0) {
        attributes +=
            QStringLiteral("%1bgcolor=\"%2\" style=\"background-color: %2%3\"")
                .arg(attributes.isEmpty() ? QString() : QStringLiteral(" "),
                     QColor(c.background).name(),
                     c.foreground != 0 ? QStringLiteral("; color: ") + QColor(c.foreground).name()
                                       : QString());
    }
    return cell(escaped(c.text), attributes);
}

// The document as one HTML file, its tables inside as PNG pictures.
class HtmlWriter : public DocumentWriter {
  public:
    void title(const QString& title) override {
        title_ = title;
        out_ += QStringLiteral("<h1>%1</h1>\n").arg(escaped(title));
    }
    void heading(int level, const QString& content) override {
        const QString pageBreak = level == 1 && sectionStarted_
                                      ? QStringLiteral(" style=\"page-break-before: always\"")
                                      : QString();
        sectionStarted_ = sectionStarted_ || level == 1;
        out_ += QStringLiteral("<h%1%2>%3</h%1>\n").arg(level).arg(pageBreak, escaped(content));
    }
    void paragraph(const QString& content) override {
        out_ += QStringLiteral("<p>") + escaped(content) + QStringLiteral("</p>\n");
    }
    void list(const QStringList& items) override {
        out_ += QStringLiteral("<ul>\n");
        for (const QString& item : items) {
            out_ += QStringLiteral("<li>") + escaped(item) + QStringLiteral("</li>\n");
        }
        out_ += QStringLiteral("</ul>\n");
    }
    void picture(const Drawing& draw) override {
        const int height = static_cast<int>(
            std::lround(kGridShownWidth * static_cast<double>(kGridHeight) / kGridWidth));
        out_ += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"\"></p>\n")
                    .arg(png(draw))
                    .arg(kGridShownWidth)
                    .arg(height);
    }
    void key(const QString& caption, const std::vector<Cell>& bands) override {
        QString cells;
        for (const Cell& band : bands) {
            cells += cell(band);
        }
        out_ += QStringLiteral(
                    "<table class=\"key\" cellspacing=\"0\" cellpadding=\"2\"><tr><td "
                    "class=\"plain\" colspan=\"%3\">%1</td></tr><tr>%2</tr></table>\n")
                    .arg(escaped(caption), cells)
                    .arg(bands.size());
    }
    void table(const Table& table) override {
        out_ += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"%1\">\n%2<tr>")
                    .arg(table.padding)
                    .arg(table.headRepeats ? QStringLiteral("<thead>") : QString());
        for (const QString& head : table.head) {
            out_ += QStringLiteral("<th>%1</th>").arg(escaped(head));
        }
        // A head in <thead> is repeated on every page the table runs over.
        out_ += table.headRepeats ? QStringLiteral("</tr></thead>\n") : QStringLiteral("</tr>\n");
        for (const std::vector<Cell>& row : table.rows) {
            out_ += QStringLiteral("<tr>");
            for (const Cell& c : row) {
                out_ += cell(c);
            }
            out_ += QStringLiteral("</tr>\n");
        }
        out_ += QStringLiteral("</table>\n");
    }
    void columns(const Column& left, const Column& right) override {
        const auto column = [](const Column& c) {
            QStringList shown;
            for (const QString& line : c.lines) {
                shown << escaped(line);
            }
            return QStringLiteral("<b>%1</b><br>").arg(escaped(c.heading)) +
                   shown.join(c.oneLineEach ? QStringLiteral("<br>") : QStringLiteral(", "));
        };
        out_ += QStringLiteral(
                    "<table class=\"plain\" cellspacing=\"0\" cellpadding=\"0\" "
                    "style=\"margin-top: 8px\"><tr><td class=\"plain\" "
                    "width=\"50%\" valign=\"top\">%1</td><td class=\"plain\" "
                    "valign=\"top\">%2</td></tr></table>\n")
                    .arg(column(left), column(right));
    }

    QString document() const {
        return QStringLiteral(
                   "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
                   "<style>body { font-family: 'Open Sans', sans-serif; font-size: 10pt; }\n"
                   "table { border-collapse: collapse; }\n"
                   "td, th { border: 1px solid #888888; padding: 2px 6px; }\n"
                   "th { background-color: #e0e0e0; }\n"
                   "td.n { text-align: right; }\n"
                   "td.plain { border: none; padding: 0 16px 0 0; }\n"
                   "table.key td { font-size: 8pt; }</style></head>\n<body>\n")
                   .arg(escaped(title_)) +
               out_ + QStringLiteral("</body></html>\n");
    }

  private:
    QString png(const Drawing& draw) {
        bitmap_.setSize(kGridWidth, kGridHeight);
        {
            ui::Canvas canvas(bitmap_);
            draw(canvas);
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        bitmap_.image().convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }

    QString title_;
    QString out_;
    bool sectionStarted_ = false;
    ui::Bitmap bitmap_;
};

}  // namespace

QByteArray htmlFile(const Request& request, const Collected& collected) {
    HtmlWriter html;
    writeDocument(request, collected, html);
    return html.document().toUtf8();
}

}  // namespace report
