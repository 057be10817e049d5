#pragma once

#include <QtGui/qrgb.h>
#include <QFont>
#include <QString>

#include "ui/Controls.h"
#include "ui/Look.h"

namespace widgets {

// The style sheet of the whole design: buttons, panels, track bars, progress bars, the combo box,
// in the design's colours (`designStyleSheet`) or with the high-contrast look's over them.
QString windowStyleSheet(ui::Look look);
QString designStyleSheet();

// The font a label or button shows its text in, in design units, in the look in use or a given
// one: in the high-contrast look text under 20 units grows while it fits its box (up to the
// control's `largestGrownSize`), and red text (which
// marks the one chosen) is underlined.
QFont textFont(const ui::TextControl& control);
QFont textFont(const ui::TextControl& control, const ui::Palette& palette);

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
