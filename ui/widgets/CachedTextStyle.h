#pragma once

#include <QCache>
#include <QImage>
#include <QPoint>
#include <QProxyStyle>
#include <QString>

namespace widgets {

// The application's style: Qt's own, except that the widgets' large text is drawn once and then
// copied. The window shows the design scaled, and at a scale near 3 (a 4K screen) every caption
// of 22 pixels and more lies above Qt's glyph cache (64 screen pixels), so Qt filled its glyphs as
// outlines on every repaint: most of the time a press that changes much of the window took. A
// text is drawn the first time as Qt draws it, into a transparent picture placed on the same
// fraction of a screen pixel, and that picture is laid over the screen on whole pixels, which
// gives the same pixels. Small text, and any painter this cannot reproduce exactly (not a plain
// scale and translation, not opaque), is left to Qt.
class CachedTextStyle : public QProxyStyle {
  public:
    CachedTextStyle();

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;

    // How many texts were drawn into a picture, for tests.
    int picturesDrawn() const { return picturesDrawn_; }

  private:
    struct Picture {
        QImage ink;     // the text's pixels, cut to its ink
        QPoint offset;  // of the ink from the whole screen pixel the text's box starts in
    };

    // The text's picture, or null when the painter is not one this can reproduce.
    const Picture* picture(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                           bool enabled, const QString& text, QPalette::ColorRole textRole) const;

    mutable QCache<QString, Picture> pictures_;
    mutable QImage scratch_;  // where a text is drawn before its ink is cut out
    mutable int picturesDrawn_ = 0;
};

// Makes a CachedTextStyle the application's style, once; before the style sheet is set, whose
// base it then is.
void installCachedTextStyle();

}  // namespace widgets
