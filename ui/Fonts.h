#pragma once

#include <thread>

#include <QFont>
#include <QString>

namespace ui {

// Families used by the program; the bundled fonts stand in for the design's fonts.
enum class FontFamily {
    Default,   // the canvas and control default (Open Sans, about as wide as the design's font)
    Rounded,   // in place of "Arial Rounded MT Bold" (Comfortaa Bold)
    Semibold,  // in place of "Segoe UI Semibold" (Open Sans Semibold)
    Arial,     // "Arial": Liberation Sans Bold, which has Arial's widths (bold faces only)
};

// The system's font configuration and font caches are read the first time fonts are asked for,
// some milliseconds of start-up. This starts that reading on a thread of its own, to run while
// the application connects to the display; the thread is joined when the result is destroyed,
// which must happen before the fonts are loaded.
std::jthread prepareFontConfiguration();

// Registers the bundled fonts with Qt and makes Open Sans the application font. Needs a
// QGuiApplication; safe to call more than once.
void loadBundledFonts();

QString familyName(FontFamily family);

// A font at a size in design units (one unit is one pixel at scale 1).
QFont makeFont(double size, bool bold = false, FontFamily family = FontFamily::Default);

}  // namespace ui
