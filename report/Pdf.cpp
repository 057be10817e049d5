#include <algorithm>
#include <functional>
#include <memory>

#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

constexpr int kPdfResolution = 300;
// A CSS pixel (96 to the inch) in the page's dots.
constexpr double kPixel = kPdfResolution / 96.0;

constexpr QRgb kBorderColour = 0xFF888888;
constexpr QRgb kHeadColour = 0xFFE0E0E0;
// Around a cell's text, left and right, in CSS pixels.
constexpr double kCellSidePadding = 6;

QFont reportFont(double points, bool bold = false) {
    QFont font(ui::familyName(ui::FontFamily::Default));
    font.setPointSizeF(points);
    font.setBold(bold);
    // A hint of letter spacing turns the font's ligatures off, so that a name copied from the PDF
    // ("Sofia", not "So\uFB01a") is the name.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return font;
}

// A font and its measures on the page.
struct PageFont {
    PageFont(const QFont& f, QPaintDevice* device) : font(f, device), metrics(font, device) {}
    QFont font;
    QFontMetricsF metrics;
};

// The document laid out and printed straight on the PDF's pages, top to bottom: its texts as text,
// its tables as lines, fills and text, the statistics tables by the window's own painters.
class PdfPages : public DocumentWriter {
  public:
    explicit PdfPages(QPdfWriter& writer)
        : writer_(writer),
          page_(writer.pageLayout().paintRectPixels(writer.resolution()).size()),
          body_(reportFont(10), &writer),
          bold_(reportFont(10, true), &writer),
          small_(reportFont(8), &writer),
          numberFont_(reportFont(9), &writer),
          headings_{{reportFont(20, true), &writer}, {reportFont(15, true), &writer}} {
        painter_.begin(&writer);
    }

    void finish() {
        numberPage();
        painter_.end();
    }

    void title(const QString& title) override { heading(headings_[0], title, 0, 12); }

    void heading(int level, const QString& content) override {
        if (level == 1 && sectionStarted_) {
            newPage();
        }
        sectionStarted_ = sectionStarted_ || level == 1;
        if (level == 1) {
            heading(headings_[0], content, 18, 12);
        } else {
            heading(headings_[1], content, 16, 8);
        }
    }

    void paragraph(const QString& content) override {
        space(12);
        text(body_, content, 0, page_.width());
        spaceAfter(12);
    }

    void list(const QStringList& items) override {
        space(12);
        const double indent = 28 * kPixel;
        for (const QString& item : items) {
            text(body_, item, indent, page_.width() - indent, QStringLiteral("•"));
        }
        spaceAfter(12);
    }

    void picture(const Drawing& draw) override {
        const double width = kGridShownWidth * kPixel;
        const double height = width * kGridHeight / kGridWidth;
        space(8);
        // With the key's first lines under it.
        const double top = place(height, 3 * small_.metrics.height());
        bitmap_.setSize(kGridWidth, kGridHeight);
        painter_.save();
        painter_.translate(0, top);
        painter_.scale(width / kGridWidth, height / kGridHeight);
        {
            ui::Canvas canvas(bitmap_, painter_);
            draw(canvas);
        }
        painter_.restore();
        spaceAfter(2);
    }

    void key(const QString& caption, const std::vector<Cell>& bands) override {
        text(small_, caption, 0, page_.width());
        Table table;
        table.rows.push_back(bands);
        this->table(table, small_);
        spaceAfter(8);
    }

    void table(const Table& table) override {
        space(4);
        this->table(table, body_);
        spaceAfter(8);
    }

    void columns(const Column& left, const Column& right) override {
        space(8);
        const double half = page_.width() / 2;
        const double gap = 16 * kPixel;
        Block first = column(left, half - gap);
        Block second = column(right, page_.width() - half);
        const double top = place(std::max(first.height, second.height));
        first.draw(painter_, QPointF(0, top));
        second.draw(painter_, QPointF(half, top));
        spaceAfter(12);
    }

  private:
    // Texts laid out in lines, drawn together.
    struct Block {
        std::vector<std::unique_ptr<QTextLayout>> layouts;
        double height = 0;
        void draw(QPainter& painter, QPointF at) const {
            painter.setPen(Qt::black);
            for (const auto& layout : layouts) {
                layout->draw(&painter, at);
            }
        }
    };

    // Adds a text broken into lines `width` wide to a block, under what it holds.
    void add(Block& block, const PageFont& font, const QString& content, double width) {
        auto layout = std::make_unique<QTextLayout>(content, font.font, &writer_);
        // A word longer than the line is broken too, never run over what is beside it.
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, block.height));
            block.height += line.height();
        }
        layout->endLayout();
        block.layouts.push_back(std::move(layout));
    }

    Block column(const Column& c, double width) {
        Block block;
        add(block, bold_, c.heading, width);
        if (c.oneLineEach) {
            for (const QString& line : c.lines) {
                add(block, body_, line, width);
            }
        } else {
            add(block, body_, c.lines.join(QStringLiteral(", ")), width);
        }
        return block;
    }

    // A text broken into lines, each line where it fits, a mark before the first.
    void text(const PageFont& font, const QString& content, double left, double width,
              const QString& mark = {}) {
        QTextLayout layout(content, font.font, &writer_);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
        }
        layout.endLayout();
        painter_.setPen(Qt::black);
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const double top = place(line.height());
            line.draw(&painter_, QPointF(left, top - line.y()));
            if (i == 0 && !mark.isEmpty()) {
                painter_.setFont(font.font);
                painter_.drawText(QPointF(left - 14 * kPixel, top + line.ascent()), mark);
            }
        }
    }

    void heading(const PageFont& font, const QString& content, double above, double below) {
        space(above);
        // Kept with a few lines of what follows it.
        Block block;
        add(block, font, content, page_.width());
        const double top = place(block.height, 4 * body_.metrics.height());
        block.draw(painter_, QPointF(0, top));
        spaceAfter(below);
    }

    void table(const Table& table, const PageFont& font) {
        const std::size_t columns = std::max(static_cast<std::size_t>(table.head.size()),
                                             table.rows.empty() ? 0 : table.rows[0].size());
        if (columns == 0) {
            return;
        }
        const double side = kCellSidePadding * kPixel;
        const double above = table.padding * kPixel;
        const double border = kPixel;
        // Each column as wide as its widest text; the first gives way where they are too wide
        // for the page, and its texts take more lines.
        std::vector<double> widths(columns, 0);
        const auto measure = [&](const PageFont& f, std::size_t c, const QString& s) {
            const double width = f.metrics.horizontalAdvance(s);
            widths[c] = std::max(widths[c], width + 2 * side);
            return width;
        };
        for (std::size_t c = 0; c < static_cast<std::size_t>(table.head.size()); ++c) {
            measure(bold_, c, table.head[c]);
        }
        std::vector<std::vector<double>> advances;
        for (const auto& row : table.rows) {
            std::vector<double>& line = advances.emplace_back();
            for (std::size_t c = 0; c < row.size() && c < columns; ++c) {
                line.push_back(measure(font, c, row[c].text));
            }
        }
        double total = 0;
        for (double w : widths) {
            total += w;
        }
        if (total > page_.width()) {
            widths[0] = std::max(widths[0] - (total - page_.width()), 3 * side);
        }
        std::vector<double> lefts{0};
        for (double w : widths) {
            lefts.push_back(lefts.back() + w);
        }

        const double lineHeight = font.metrics.height();
        double segmentTop = 0;
        const auto closeSegment = [&] {
            painter_.setPen(QPen(QColor(kBorderColour), border));
            for (double x : lefts) {
                painter_.drawLine(QPointF(x, segmentTop), QPointF(x, y_));
            }
        };
        std::vector<Cell> headCells;
        for (const QString& head : table.head) {
            headCells.push_back({head, false, kHeadColour});
        }
        // A row of texts, each in its column; those too wide for it broken into lines.
        std::function<void(const std::vector<Cell>&, const std::vector<double>*, const PageFont&,
                           bool)>
            row;
        row = [&](const std::vector<Cell>& cells, const std::vector<double>* measured,
                  const PageFont& f, bool head) {
            std::vector<std::unique_ptr<QTextLayout>> wrapped(cells.size());
            double height = lineHeight;
            for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
                const double width =
                    measured ? (*measured)[c] : f.metrics.horizontalAdvance(cells[c].text);
                if (width > widths[c] - 2 * side) {
                    Block block;
                    add(block, f, cells[c].text, widths[c] - 2 * side);
                    wrapped[c] = std::move(block.layouts.front());
                    height = std::max(height, block.height);
                }
            }
            height += 2 * above;
            if (y_ + pending_ + height > page_.height() && y_ > 0) {
                closeSegment();
                newPage();
                segmentTop = -1;
                if (table.headRepeats && !head) {
                    row(headCells, nullptr, bold_, true);
                }
            }
            const double top = place(height);
            if (segmentTop < 0) {
                segmentTop = top;
            }
            for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
                const QRectF box(lefts[c], top, widths[c], height);
                if (cells[c].background != 0) {
                    painter_.fillRect(box, QColor(cells[c].background));
                }
            }
            painter_.setPen(QPen(QColor(kBorderColour), border));
            painter_.drawLine(QPointF(0, top), QPointF(lefts.back(), top));
            painter_.drawLine(QPointF(0, top + height), QPointF(lefts.back(), top + height));
            painter_.setPen(Qt::black);
            painter_.setFont(f.font);
            for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
                painter_.setPen(cells[c].foreground != 0 ? QColor(cells[c].foreground)
                                                         : QColor(Qt::black));
                if (wrapped[c]) {
                    wrapped[c]->draw(&painter_, QPointF(lefts[c] + side, top + above));
                    continue;
                }
                if (cells[c].text.isEmpty()) {
                    continue;
                }
                const double width =
                    measured ? (*measured)[c] : f.metrics.horizontalAdvance(cells[c].text);
                double x = lefts[c] + side;
                if (head) {
                    x = lefts[c] + (widths[c] - width) / 2;
                } else if (cells[c].number) {
                    x = lefts[c + 1] - side - width;
                }
                painter_.drawText(QPointF(x, top + above + f.metrics.ascent()), cells[c].text);
            }
        };
        segmentTop = -1;
        if (!headCells.empty()) {
            row(headCells, nullptr, bold_, true);
        }
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            row(table.rows[r], &advances[r], font, false);
        }
        closeSegment();
    }

    // Space above what comes next: the larger of it and the space below what came before.
    void space(double cssPixels) { pending_ = std::max(pending_, cssPixels * kPixel); }
    void spaceAfter(double cssPixels) { pending_ = cssPixels * kPixel; }

    // The top of the next `height` of the page, on a new page when it would not fit with `keep`
    // more under it; no space above it at the top of a page.
    double place(double height, double keep = 0) {
        if (y_ > 0 && y_ + pending_ + height + keep > page_.height()) {
            newPage();
        }
        if (y_ > 0) {
            y_ += pending_;
        }
        pending_ = 0;
        const double top = y_;
        y_ += height;
        return top;
    }

    void newPage() {
        numberPage();
        writer_.newPage();
        ++pageNumber_;
        y_ = 0;
        pending_ = 0;
    }

    // The page's number in its bottom margin.
    void numberPage() {
        painter_.setPen(Qt::black);
        painter_.setFont(numberFont_.font);
        painter_.drawText(QRectF(0, page_.height(), page_.width(), kPdfResolution / 3.0),
                          Qt::AlignCenter, QString::number(pageNumber_));
    }

    QPdfWriter& writer_;
    QPainter painter_;
    QSizeF page_;
    PageFont body_;
    PageFont bold_;
    PageFont small_;
    PageFont numberFont_;
    PageFont headings_[2];
    ui::Bitmap bitmap_;
    int pageNumber_ = 1;
    double y_ = 0;
    double pending_ = 0;
    bool sectionStarted_ = false;
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

void writePdf(QIODevice& device, const Request& request, const Collected& collected) {
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(usesLetter() ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 20), QPageLayout::Millimeter);
    writer.setTitle(text(reportLanguage(request, collected), Text::Title));
    writer.setCreator(QStringLiteral("Kestrova"));
    PdfPages pages(writer);
    writeDocument(request, collected, pages);
    pages.finish();
}

}  // namespace report
