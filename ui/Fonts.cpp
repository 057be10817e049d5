#include "ui/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QResource>

namespace ui {

std::jthread prepareFontConfiguration() {
    // Fontconfig installs its configuration atomically: were Qt to ask for it meanwhile, the
    // one read second would be dropped, and nothing else would change.
    return std::jthread([] { FcInit(); });
}

void loadBundledFonts() {
    static bool loaded = false;
    if (loaded) {
        return;
    }
    loaded = true;
    for (const char* file : {":/fonts/OpenSans-Regular.ttf", ":/fonts/OpenSans-Bold.ttf",
                             ":/fonts/OpenSans-Semibold.ttf", ":/fonts/Comfortaa-Bold.ttf",
                             ":/fonts/LiberationSans-Bold.ttf"}) {
        // The fonts are stored uncompressed in the program: read in place, they cost neither an
        // unpacking nor a copy on the heap, and only the pages used are loaded.
        const QResource resource(QString::fromLatin1(file));
        if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression) {
            QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                reinterpret_cast<const char*>(resource.data()), resource.size()));
        } else {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
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
