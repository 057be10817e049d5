#pragma once

// The report as one document, laid out in HTML: the HTML file as it is, the PDF printed from it.
#include <functional>

#include <QImage>
#include <QString>

#include "report/Figures.h"
#include "ui/Bitmap.h"

namespace report {

// The pixels per design unit the tables are drawn at (the table 10 cm wide at about 200 dots per
// inch). The PDF's time goes into storing the tables' pixels, so this ratio sets its speed.
constexpr double kPrintRatio = 1.0;

// Where the pictures of a document go: inside an HTML file, or to the PDF's document.
using Drawing = std::function<QImage(ui::Bitmap& bitmap)>;

class Pictures {
  public:
    virtual ~Pictures() = default;
    virtual QString add(const QImage& image) = 0;
    // A large picture, drawn into the given bitmap when it is needed.
    virtual QString add(const Drawing& draw) = 0;

  protected:
    ui::Bitmap tableBitmap_{kPrintRatio};
};

// The document's language: the one asked for, else the first pupil's.
Language reportLanguage(const Request& request, const Collected& collected);
// A file that could not be read, as the report names it.
QString skippedLine(Language l, const Skipped& s);
QString documentHtml(const Request& request, const Collected& collected, Pictures& pictures);

}  // namespace report
