#pragma once

#include <QFont>
#include <QString>

namespace ui {

// Families used by the program; the bundled fonts stand in for the design's fonts.
enum class FontFamily {
    Default,   // the canvas and control default (DejaVu Sans)
    Rounded,   // in place of "Arial Rounded MT Bold" (Comfortaa Bold)
    Semibold,  // in place of "Segoe UI Semibold" (Open Sans Semibold)
    Arial,     // "Arial": the default family stands in
};

// Registers the bundled fonts with Qt and makes DejaVu Sans the application font. Needs a
// QGuiApplication; safe to call more than once.
void loadBundledFonts();

QString familyName(FontFamily family);

// A font at a size in design units (one unit is one pixel at scale 1).
QFont makeFont(double size, bool bold = false, FontFamily family = FontFamily::Default);

}  // namespace ui
