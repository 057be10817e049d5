// Test programs run headless: one Qt application for the whole program, with the bundled fonts,
// so that text is measured alike on every machine.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "ui/Fonts.h"

#ifdef KESTROVA_TESTS_NEED_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    ui::loadBundledFonts();
    return RUN_ALL_TESTS();
}
