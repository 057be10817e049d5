#pragma once

// The report as one document, laid out in HTML: the HTML file as it is, the PDF printed from it.
#include <functional>

#include <QString>

#include "report/Figures.h"
#include "ui/Bitmap.h"

namespace report {

// The statistics table at the window's design size, so that it is drawn as there.
constexpr int kGridWidth = 783;
constexpr int kGridHeight = 632;

// A table painted on a canvas of the grid's design size.
using Drawing = std::function<void(ui::Canvas& canvas)>;

// Where the tables of a document go: inside an HTML file as pictures, or to the PDF's document
// as shapes and text. Each gives the name the document's <img> refers to.
class Pictures {
  public:
    virtual ~Pictures() = default;
    virtual QString add(const Drawing& draw) = 0;
};

// The document's language: the one asked for, else the first pupil's.
Language reportLanguage(const Request& request, const Collected& collected);
// A file that could not be read, as the report names it.
QString skippedLine(Language l, const Skipped& s);
QString documentHtml(const Request& request, const Collected& collected, Pictures& pictures);

}  // namespace report
