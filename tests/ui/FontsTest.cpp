#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>

#include "ui/Fonts.h"

namespace {

// Every family the program asks for is one of the bundled faces, never a font that happens to
// be on the machine.
TEST(BundledFonts, EachFamilyAndWeightIsABundledFace) {
    using ui::FontFamily;
    const struct {
        FontFamily family;
        bool bold;
        const char* face;
        const char* style;
    } cases[] = {
        {FontFamily::Default, false, "Open Sans", "Regular"},
        {FontFamily::Default, true, "Open Sans", "Bold"},
        {FontFamily::Semibold, true, "Open Sans Semibold", "Semibold"},
        {FontFamily::Rounded, false, "Comfortaa", "Bold"},
        {FontFamily::Arial, true, "Liberation Sans", "Bold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        const QFontInfo info(ui::makeFont(20, c.bold, c.family));
        EXPECT_EQ(info.family(), c.face);
        EXPECT_EQ(info.styleName(), c.style);
    }
    EXPECT_EQ(QFontInfo(QGuiApplication::font()).family(), "Open Sans");
}

}  // namespace
