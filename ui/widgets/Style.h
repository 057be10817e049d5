#pragma once

#include <QtGui/qrgb.h>
#include <QFont>
#include <QString>

#include "ui/Controls.h"

namespace widgets {

// The window's background: a vertical gradient, white at the top.
inline constexpr QRgb kBackgroundTop = 0xFFFFFFFF;
inline constexpr QRgb kBackgroundBottom = 0xFFC5BCBC;

// The style sheet of the whole design: buttons, panels, track bars, progress bars, the combo box.
QString windowStyleSheet();

// The font a label or button shows its text in, in design units.
QFont textFont(const ui::TextControl& control);

// The width a button leaves its caption, inside its border.
double captionRoom(const ui::Button& button);

// The font a button shows its caption in: its own, unless the caption would not fit, which is
// then set smaller rather than cut at both ends. The bundled fonts fit every caption of the
// design; this is the last resort for a text that does not.
QFont buttonFont(const ui::Button& button);

// The text that fits on one line of the given width: characters that do not fit completely are
// cut off at the end, never halved.
QString cutToWidth(const QString& text, const QFont& font, double width);

}  // namespace widgets
