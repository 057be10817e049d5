#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace ui {

void loadBundledFonts() {
    static bool loaded = false;
    if (loaded) {
        return;
    }
    loaded = true;
    for (const char* file : {":/fonts/OpenSans-Regular.ttf", ":/fonts/OpenSans-Bold.ttf",
                             ":/fonts/OpenSans-Semibold.ttf", ":/fonts/Comfortaa-Bold.ttf",
                             ":/fonts/LiberationSans-Bold.ttf"}) {
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    QGuiApplication::setFont(makeFont(12));
}

QString familyName(FontFamily family) {
    switch (family) {
        case FontFamily::Rounded:
            return QStringLiteral("Comfortaa");
        case FontFamily::Semibold:
            return QStringLiteral("Open Sans Semibold");
        case FontFamily::Arial:
            return QStringLiteral("Liberation Sans");
        case FontFamily::Default:
            break;
    }
    return QStringLiteral("Open Sans");
}

QFont makeFont(double size, bool bold, FontFamily family) {
    QFont font(familyName(family));
    font.setPixelSize(qMax(1, qRound(size)));
    font.setBold(bold || family == FontFamily::Rounded);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace ui
