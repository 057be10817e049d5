#pragma once

// The report as one document: its parts in order, each format writing them in its own way.
#include <functional>
#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "report/Figures.h"
#include "ui/Bitmap.h"

namespace report {

// The statistics table at the window's design size, so that it is drawn as there.
constexpr int kGridWidth = 783;
constexpr int kGridHeight = 632;
// The statistics table's shown width in CSS pixels (96 to the inch): 10 cm.
constexpr int kGridShownWidth = 380;

// A table painted on a canvas of the grid's design size.
using Drawing = std::function<void(ui::Canvas& canvas)>;

// A cell of a table: its text, to the right when a number, on its colour (0: none).
struct Cell {
    QString text;
    bool number = false;
    QRgb background = 0;
    QRgb foreground = 0;  // black where none is given
};

struct Table {
    QStringList head;
    std::vector<std::vector<Cell>> rows;
    int padding = 2;           // around each cell's text, in CSS pixels
    bool headRepeats = false;  // on every page the table runs over
};

// A column of the pair under a pupil's tables: its heading, then its lines, run together after
// commas or one a line.
struct Column {
    QString heading;
    QStringList lines;
    bool oneLineEach = false;
};

// What the document's parts become in a format.
class DocumentWriter {
  public:
    virtual ~DocumentWriter() = default;
    virtual void title(const QString& title) = 0;
    // A section (level 1) begins a page, except the first, which shares the title's: so a
    // section's tables are not cut by a page's end.
    virtual void heading(int level, const QString& content) = 0;
    virtual void paragraph(const QString& content) = 0;
    virtual void list(const QStringList& items) = 0;
    // The statistics table, shown kGridShownWidth wide.
    virtual void picture(const Drawing& draw) = 0;
    // A line of what the colours mean under its caption.
    virtual void key(const QString& caption, const std::vector<Cell>& bands) = 0;
    virtual void table(const Table& table) = 0;
    // Two columns side by side, so that a pupil's operation keeps to one page.
    virtual void columns(const Column& left, const Column& right) = 0;
};

// The document's language: the one asked for, else the first pupil's.
Language reportLanguage(const Request& request, const Collected& collected);
// A file that could not be read, as the report names it.
QString skippedLine(Language l, const Skipped& s);
void writeDocument(const Request& request, const Collected& collected, DocumentWriter& writer);

}  // namespace report
