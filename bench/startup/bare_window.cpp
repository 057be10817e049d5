// The floor for start-up: an empty Qt Widgets window shown full screen, nothing else.
#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "ui/widgets/FirstPaintProbe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    widgets::FirstPaintProbe::installOn(&window);
    return app.exec();
}
