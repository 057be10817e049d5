// Every text the window shows, in all three languages, laid out at its design size in its box:
// nothing may be cut or set smaller. Each test lists all the texts that do not fit.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetricsF>
#include <QStringList>
#include <QStyleOptionComboBox>

#include "app/Texts.h"
#include "help/HelpScreen.h"
#include "tests/support/FormFixture.h"
#include "trainer/ExerciseColumn.h"
#include "ui/Look.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/Style.h"

namespace {

// One text a label or button can show, at the font size it is shown at (0: the design size).
struct Shown {
    ui::TextControl* control;
    QString text;
    double size = 0;
};

const char* const kLanguages[] = {"RUSSIAN", "ENGLISH British", "ENGLISH American"};

class TextFit : public FormFixture {
  protected:
    QStringList misfitsIn(ui::Look look);
    TextFit() { start(); }

    // The widest texts of every label and button in the current language, in every mode.
    std::vector<Shown> shownTexts() {
        TForm3& f = form();
        auto t = [&f](int entry) { return f.uiText(entry); };
        std::vector<Shown> shown = {
            {&f.Button10, t(1)},
            {&f.Button11, t(2)},
            {&f.Button1, t(4)},
            {&f.Button12, t(3)},
            {&f.Button12, t(0)},
            {&f.Button13, t(6)},
            {&f.Button14, t(7), 24},
            {&f.Button14, t(12) + t(7), 18},
            {&f.Button15, t(13), 26},
            {&f.Button15, t(12) + t(13), 20},
            {&f.Button16, t(14)},
            {&f.Button16, t(34)},
            {&f.Button17, t(36)},
            {&f.Button18, t(14)},
            {&f.Label1, t(4), 24},
            {&f.Label1, t(7), 24},
            {&f.Label1, t(6), 16},
            {&f.Label2, t(23)},
            {&f.Label3, t(24)},
            {&f.Label4, t(1)},
            {&f.Label4, t(2)},
            {&f.Label5, t(32)},
            {&f.Label5, t(33) + " - 9999"},
            {&f.Label5, t(9) + "31.12.2025-31.12.2025"},
            {&f.Label5, t(18) + " - 9999   +9999"},
            {&f.Label9, t(8)},
            {&f.Label9, t(1) + ":"},
            {&f.Label9, t(2) + ":"},
            {&f.Label9, t(17) + " - 9999"},
            {&f.Label6, "10"},
            {&f.Label8, "50"},
            {&f.Label7, "90:10="},
            {&f.Label7, "9x10="},
            {&f.Label10, t(21) + " 10"},
            {&f.Label11, t(19)},
            {&f.Label14, t(15)},
            {&f.Label14, t(16)},
            {&f.Label15, "Language"},
            {&f.Label16, "?"},
            {&f.Label17, t(37)},
            {&f.Label18, t(39)},
            {&f.Label19, t(40)},
            {&f.Label20, t(41)},
            {&f.Label21, t(38)},
            {&f.Label22, t(42) + " 1-10"},
            {&f.PupilLabel, pupilText(pupilLanguage(), kPupilCaption)},
        };
        for (ui::Button* b : {&f.Button2, &f.Button3, &f.Button4, &f.Button5, &f.Button6,
                              &f.Button7, &f.Button8, &f.Button9}) {
            shown.push_back({b, t(5) + QString::number(&f.Button2 == b ? 2 : 9)});
        }
        return shown;
    }

    PupilLanguage pupilLanguage() {
        return ::pupilLanguage(form().LanguageRow, form().AmericanEnglish);
    }

    // Runs `check` in each language and gathers what it reports as not fitting.
    template <class Check>
    QStringList inEveryLanguage(Check check) {
        QStringList misfits;
        for (int item = 0; item < 3; ++item) {
            form().ComboBox1.setItemIndex(item);
            check([&](const QString& what) { misfits << QString(kLanguages[item]) + ": " + what; });
        }
        return misfits;
    }
};

QString describe(const QString& name, const QString& text, double size, double width, double room) {
    return QStringLiteral("%1 \"%2\" at %3 is %4 wide for %5")
        .arg(name, text)
        .arg(size)
        .arg(width, 0, 'f', 1)
        .arg(room, 0, 'f', 1);
}

// Every text in its box, in a look: the high-contrast look's grown texts too.
QStringList TextFit::misfitsIn(ui::Look look) {
    ui::setCurrentLook(look);
    const QStringList misfits = inEveryLanguage([this](auto misfit) {
        for (Shown& s : shownTexts()) {
            ui::TextControl& c = *s.control;
            c.setText(s.text);
            if (s.size != 0) {
                c.setFontSize(s.size);
            }
            const QFont font = widgets::textFont(c);
            const QFontMetricsF metrics(font);
            const double width = metrics.horizontalAdvance(s.text);
            double room = c.width();
            bool fits = widgets::cutToWidth(s.text, font, room) == s.text;
            if (auto* button = dynamic_cast<ui::Button*>(&c)) {
                room = widgets::captionRoom(*button);
                fits = widgets::buttonFont(*button).pixelSize() == font.pixelSize();
            }
            if (!fits) {
                misfit(describe(c.name(), s.text, c.fontSize(), width, room));
            }
            if (metrics.height() > c.height()) {
                misfit(QStringLiteral("%1 \"%2\" at %3 is %4 high for %5")
                           .arg(c.name(), s.text)
                           .arg(c.fontSize())
                           .arg(metrics.height(), 0, 'f', 1)
                           .arg(c.height()));
            }
        }
    });
    ui::setCurrentLook(ui::Look::Default);
    return misfits;
}

TEST_F(TextFit, EveryCaptionAndLabelTextFitsItsBoxAtItsDesignSize) {
    const QStringList misfits = misfitsIn(ui::Look::Default);
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

TEST_F(TextFit, InHighContrastSmallTextGrowsAndStillFits) {
    const QStringList misfits = misfitsIn(ui::Look::HighContrast);
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
    // The difficulty's three words share a row, where they touch already at the design's size:
    // the high-contrast look does not let them grow into each other further.
    const auto overlap = [this](ui::Look look) {
        ui::setCurrentLook(look);
        const auto span = [](const ui::Label& label) {
            const double width =
                QFontMetricsF(widgets::textFont(label)).horizontalAdvance(label.text());
            const double x = label.rect().left();
            const double left = label.horizontalAlign() == ui::Align::Leading ? x
                                : label.horizontalAlign() == ui::Align::Trailing
                                    ? x + label.width() - width
                                    : x + (label.width() - width) / 2;
            return std::pair{left, left + width};
        };
        const auto [left18, right18] = span(form().Label18);
        const auto [left19, right19] = span(form().Label19);
        const auto [left20, right20] = span(form().Label20);
        ui::setCurrentLook(ui::Look::Default);
        return std::max(0.0, right18 - left19) + std::max(0.0, right19 - left20);
    };
    const QStringList overlaps = inEveryLanguage([&](auto misfit) {
        const double design = overlap(ui::Look::Default);
        const double highContrast = overlap(ui::Look::HighContrast);
        if (highContrast > design + 0.01) {
            misfit(QStringLiteral("the difficulty's words overlap by %1 instead of %2")
                       .arg(highContrast)
                       .arg(design));
        }
    });
    EXPECT_TRUE(overlaps.isEmpty()) << overlaps.join('\n').toStdString();
}

// The language choices in the language box; in the pupil box the new-pupil item of every
// language and a long name (a pupil's name may be longer still, and is then cut at the box).
TEST_F(TextFit, TheChoicesFitTheComboBoxes) {
    widgets::FormView view(form().controls(), form().Timer1,
                           [this](const std::function<void()>& h) { return form().dispatch(h); });
    view.resize(1280, 727);
    view.show();
    QStringList misfits;
    auto check = [&](const ui::ComboBox& control, const QStringList& items) {
        auto* combo = qobject_cast<QComboBox*>(view.widgetFor(control));
        ASSERT_NE(combo, nullptr);
        combo->ensurePolished();
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const double room =
            combo->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                .width();
        const QFontMetricsF metrics(combo->font());
        for (const QString& item : items) {
            if (metrics.horizontalAdvance(item) > room) {
                misfits << describe(control.name(), item, combo->font().pixelSize(),
                                    metrics.horizontalAdvance(item), room);
            }
        }
    };
    check(form().ComboBox1, form().ComboBox1.items());
    QStringList pupilItems = {QString::fromUtf8("Александра Константиновна Воскресенская")};
    for (PupilLanguage language :
         {PupilLanguage::Russian, PupilLanguage::British, PupilLanguage::American}) {
        pupilItems << pupilText(language, kPupilNew)
                   << pupilText(language, kPupilRename).arg(QStringLiteral("Alexandra"))
                   << pupilText(language, kPupilRemove).arg(QStringLiteral("Alexandra"));
    }
    check(form().PupilBox, pupilItems);
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

// The texts drawn into pictures, in the canvas's font at the sizes and in the boxes the
// pictures give them.
TEST_F(TextFit, EveryPictureTextFitsItsBox) {
    const QStringList misfits = inEveryLanguage([this](auto misfit) {
        TForm3& f = form();
        ui::Bitmap bitmap;
        bitmap.setSize(10, 10);
        ui::Canvas canvas(bitmap);
        auto check = [&](const char* picture, const QString& text, double size, double room) {
            canvas.setFont(size);
            const double width = canvas.textWidth(text);
            if (width > room) {
                misfit(describe(picture, text, size, width, room));
            }
        };
        const int w = f.GridCellWidth;

        // The exercise column: the longest answers (first operands run to 9, second ones to
        // 10, the table to 90), clear of the red X of a wrong one.
        const double listStart = ui::roundHalfEven(f.Panel3ViewerWidth / 2.5) + 20;
        const double crossStart = f.Panel3ViewerWidth - 30;
        const RecentAnswer longest{9, 10, 88, true};
        for (int operation : {2, 3}) {
            check("exercise column", trainer::answerText(operation, longest), 29,
                  crossStart - listStart);
        }

        // The grid: cell numbers, the operand column of the statistics, the header words.
        const double cell = w - 3;
        check("grid cell", "90", 40, cell);
        check("grid cell", "100", 37, cell);
        check("grid cell", "9 x", 40, cell);
        check("grid cell", ": 9", 40, cell);
        check("grid header", f.uiText(26), 18, 2 * w - 3);
        check("grid header", f.uiText(25), 24, 9 * w - 2);
        check("grid header", f.uiText(28), 24, 10 * w - 3);
        check("grid header", f.uiText(27), 18, 2 * w - 1);

        // The statistics list: the typical errors and the totals.
        const double W = f.Panel3ViewerWidth;
        const double xs = ui::roundHalfEven(W / 2.3);
        const double xe = ui::roundHalfEven(W / 1.8);
        check("typical errors", "9x10=88", 26, W - xe);
        check("typical errors", "90:9=88", 26, W - xe);
        check("exercise totals", "65535", 26, xs - 1);

        // The level chart's legend and level numbers (the series names are centred on
        // 60 + W / 2 and must end inside the chart), and the totals chart's scale.
        check("level chart", "(" + f.uiText(42) + " 1-10)", 16, 120);
        check("level chart", f.uiText(17), 22, W - 120);
        check("level chart", f.uiText(18), 22, W - 120);
        check("level chart", "10", 16, ui::roundHalfEven(W / 10));
        check("totals chart", "800", 16, 35);
        check("totals chart", "+9999", 20, 70);
    });
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

TEST_F(TextFit, TheMarkLegendEndsInsideItsViewer) {
    const QStringList misfits = inEveryLanguage([this](auto misfit) {
        const QImage legend = form().ImageViewer2.picture();
        const int lastColumn = legend.width() - 1;
        for (int y = 0; y < legend.height(); ++y) {
            if (qAlpha(legend.pixel(lastColumn, y)) != 0) {
                misfit(QStringLiteral("the mark legend reaches its right edge"));
                return;
            }
        }
    });
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

// Where a text of a help page puts ink: painted alone, as the page paints it, on a clear picture
// of the page's size. In pixels, which are design units here.
QRect inkOf(const help::HelpPage& page, const std::function<void(ui::Canvas&)>& paint) {
    ui::Bitmap bitmap;
    bitmap.setSize(page.width, page.height);
    {
        ui::Canvas canvas(bitmap);
        canvas.clear(0x00000000);
        canvas.setFillColor(0xFFFFFFFF);
        paint(canvas);
    }
    return ui::inkBounds(bitmap.image());
}

// Every line of the help pages ends above the next one, and the last above what follows the
// text: the example below the rules, the panel's edge below the title page and the instructions.
TEST_F(TextFit, EveryHelpLineEndsAboveWhatFollowsIt) {
    const QStringList misfits = inEveryLanguage([this](auto misfit) {
        TForm3& f = form();
        help::HelpPage page;
        page.width = f.Panel1ViewerWidth;
        page.height = f.Panel1ViewerHeight;
        page.cellWidth = f.GridCellWidth;
        page.languageRow = f.LanguageRow;
        page.titleLine = f.uiText(35);
        game::Board board;
        page.board = &board;

        page.page = help::kTitlePage;
        const QRect title =
            inkOf(page, [&](ui::Canvas& canvas) { help::paintHelpPage(canvas, page); });
        if (title.bottom() + 1 > help::helpTextLimit(page)) {
            misfit(QStringLiteral("the title page reaches %1").arg(title.bottom() + 1));
        }

        ui::Bitmap scratch;
        scratch.setSize(1, 1);
        ui::Canvas measuring(scratch);
        const help::TextMeasure measure = [&](const QString& text, double size) {
            measuring.setFont(size);
            return measuring.textWidth(text);
        };
        for (int number : {help::kInstructionsPage, help::kRulesPage}) {
            page.page = number;
            const std::vector<help::HelpTextBox> lines = help::helpTextBoxes(page, measure);
            std::vector<QRect> inks;
            for (const help::HelpTextBox& line : lines) {
                inks.push_back(
                    inkOf(page, [&](ui::Canvas& c) { help::paintHelpTextBox(c, line); }));
            }
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const double next =
                    i + 1 < lines.size() ? inks[i + 1].top() : help::helpTextLimit(page);
                if (inks[i].bottom() + 1 > next) {
                    misfit(QStringLiteral("page %1: \"%2\" at %3 reaches %4, below %5")
                               .arg(number)
                               .arg(lines[i].text)
                               .arg(lines[i].fontSize)
                               .arg(inks[i].bottom() + 1)
                               .arg(next));
                }
            }
        }
    });
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

}  // namespace
