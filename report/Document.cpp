#include "report/Document.h"

#include <algorithm>
#include <cmath>

#include <QDate>
#include <QDir>

#include "app/Colours.h"
#include "app/Texts.h"
#include "game/GridRenderer.h"
#include "statistics/ErrorRates.h"
#include "trainer/ExerciseColumn.h"
#include "trainer/Marks.h"
#include "ui/Look.h"

namespace report {

namespace {

// The statistics table's shown width in CSS pixels (96 to the inch): 10 cm.
constexpr int kGridShownWidth = 380;

// The colours of the printed table's marks 0 (not answered) to 4 (over 21 % wrong). The
// screen's blue, green, yellow and red turn to greys out of order on a black-and-white printer
// (yellow lightest, green as dark as red): these keep the order in grey, each band darker than
// the one before (luma 255, 226, 195, 168, 134), light enough for black digits and lighter than the
// grid's dim grey lines.
constexpr QRgb kPrintMarkColours[5] = {0xFFFFFFFF, 0xFFCFE6FF, 0xFFA3D9A3, 0xFFE8A317, 0xFFE06060};

constexpr double kRateFont = 15;

// Above this many pupils the class's table of error rates goes to a page of its own.
constexpr std::size_t kPupilsSharingAPage = 12;

// --- pictures, drawn by the window's own painters ---

// The look of what is painted or written while it lives; the look before it comes back after.
class LookScope {
  public:
    explicit LookScope(ui::Look look) : before_(ui::currentLook()) { ui::setCurrentLook(look); }
    ~LookScope() { ui::setCurrentLook(before_); }
    LookScope(const LookScope&) = delete;
    LookScope& operator=(const LookScope&) = delete;

  private:
    ui::Look before_;
};

// In the high-contrast look the table takes the window's high-contrast colours and dots; in the
// default look the printed colours, which keep their order in grey.
void paintStatisticsTable(ui::Canvas& canvas, int operation, const ExerciseCountTable& counts,
                          const WeightTable& weights, Language language, ui::Look look) {
    const LookScope scope(look);
    const bool printed = look == ui::Look::Default;
    game::Board board;
    statistics::fillStatisticsBoard(board, operation, counts, weights);
    const int row = languageRowOf(language);
    game::GridContent content;
    content.mode = 3;
    content.operation = operation;
    content.board = &board;
    content.markColours = printed ? kPrintMarkColours : nullptr;
    content.cellWidth = static_cast<int>(ui::roundHalfEven(kGridWidth / 10.0));
    content.cellHeight = static_cast<int>(ui::roundHalfEven(kGridHeight / 9.0));
    content.multiplier = QString::fromUtf8(UiText[row][25]);
    content.multiplicand = QString::fromUtf8(UiText[row][26]);
    content.divider = QString::fromUtf8(UiText[row][27]);
    content.dividend = QString::fromUtf8(UiText[row][28]);
    {
        game::paintGrid(canvas, content);
        // Each answered exercise's error rate under its number, so that the band can be read
        // without its colour.
        canvas.setFont(kRateFont);
        canvas.setFillColor(0xFF000000);
        const QLocale locale = localeOf(language);
        for (int r = kFirstNumber; r <= kLastNumber; ++r) {
            for (int factor = 2; factor <= 10; ++factor) {
                const int answers = counts[r][factor];
                if (answers == 0) {
                    continue;
                }
                const int c = operation == persistence::kMultiplication ? factor : factor - 1;
                const QRectF cell = game::gridCellRect(c, r, content.cellWidth, content.cellHeight);
                const double percent = ratePercent(weights[r][factor], answers);
                canvas.setFillColor(printed ? 0xFF000000
                                            : ui::palette().bandText[board[r][c].Mark]);
                canvas.fillText(QRectF(cell.left(), cell.top() + cell.height() * 0.62,
                                       cell.width() - 5, cell.height() * 0.38),
                                locale.toString(percent, 'f', 0) + QStringLiteral("%"), false, 1,
                                ui::Align::Trailing, ui::Align::Center);
            }
        }
    }
}

// --- the document ---

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString colourName(QRgb colour) {
    return QColor(colour).name();
}

QString operationName(Language language, int operation) {
    return text(language,
                operation == persistence::kMultiplication ? Text::Multiplication : Text::Division);
}

QString dateText(Language language, double moment) {
    constexpr double kFarthestDay = 3e6;
    if (!(std::abs(moment) < kFarthestDay)) {
        return QStringLiteral("?");
    }
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(moment)));
    // Years in full: the locales' short forms give American dates two digits.
    const char* format = language == Language::Russian   ? "dd.MM.yyyy"
                         : language == Language::British ? "dd/MM/yyyy"
                                                         : "M/d/yyyy";
    return date.toString(QLatin1String(format));
}

class Html {
  public:
    explicit Html(Pictures& pictures) : pictures_(pictures) {}

    // A section (level 1) begins a page, except the first, which shares the title's: so a
    // section's tables are not cut by a page's end.
    void heading(int level, const QString& content) {
        const QString pageBreak = level == 1 && sectionStarted_
                                      ? QStringLiteral(" style=\"page-break-before: always\"")
                                      : QString();
        sectionStarted_ = sectionStarted_ || level == 1;
        out_ += QStringLiteral("<h%1%2>%3</h%1>\n").arg(level).arg(pageBreak, escaped(content));
    }
    void paragraph(const QString& content) {
        out_ += QStringLiteral("<p>") + escaped(content) + QStringLiteral("</p>\n");
    }
    void list(const QStringList& items) {
        out_ += QStringLiteral("<ul>\n");
        for (const QString& item : items) {
            out_ += QStringLiteral("<li>") + escaped(item) + QStringLiteral("</li>\n");
        }
        out_ += QStringLiteral("</ul>\n");
    }
    // The statistics table, shown `width` wide.
    void table(const Drawing& draw, int width) {
        const int height =
            static_cast<int>(std::lround(width * static_cast<double>(kGridHeight) / kGridWidth));
        out_ += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"\"></p>\n")
                    .arg(pictures_.add(draw))
                    .arg(width)
                    .arg(height);
    }
    void raw(const QString& html) { out_ += html; }

    QString document(const QString& title) const {
        return QStringLiteral(
                   "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
                   "<style>body { font-family: 'Open Sans', sans-serif; font-size: 10pt; }\n"
                   "table { border-collapse: collapse; }\n"
                   "td, th { border: 1px solid #888888; padding: 2px 6px; }\n"
                   "th { background-color: #e0e0e0; }\n"
                   "td.n { text-align: right; }\n"
                   "td.plain { border: none; padding: 0 16px 0 0; }\n"
                   "table.key td { font-size: 8pt; }</style></head>\n<body>\n")
                   .arg(escaped(title)) +
               out_ + QStringLiteral("</body></html>\n");
    }

  private:
    Pictures& pictures_;
    QString out_;
    bool sectionStarted_ = false;
};

QString cell(const QString& content, const QString& attributes = {}) {
    return QStringLiteral("<td%1>%2</td>")
        .arg(attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes, content);
}

QString markCell(int mark) {
    QRgb colour = 0;
    if (!trainer::markColour(mark, colour)) {
        return cell(QString());
    }
    return cell(QString::number(mark),
                QStringLiteral("class=\"n\" bgcolor=\"%1\" style=\"background-color: %1\"")
                    .arg(colourName(colour)));
}

// The last ten marks of a marks row, oldest first.
QString lastMarks(const OperationFigures& f, int row) {
    QStringList marks;
    const int count = std::min<int>(f.markCounts[row], 10);
    for (int i = 1; i <= count; ++i) {
        marks << QString::number(f.marks[row][i]);
    }
    return marks.join(QLatin1Char(' '));
}

// What the printed table's colours and small numbers mean.
QString key(Language l, ui::Look look) {
    const ui::Palette& palette = ui::palette(look);
    const auto background = [&](int mark) {
        return look == ui::Look::Default ? kPrintMarkColours[mark] : palette.bands[mark];
    };
    const auto foreground = [&](int mark) {
        return look == ui::Look::Default ? 0xFF000000 : palette.bandText[mark];
    };
    QString cells;
    constexpr Text kBands[5] = {Text::KeyNotAnswered, Text::KeyBand1, Text::KeyBand2,
                                Text::KeyBand3, Text::KeyBand4};
    for (int mark = 1; mark <= 4; ++mark) {
        cells += cell(escaped(text(l, kBands[mark])),
                      QStringLiteral("bgcolor=\"%1\" style=\"background-color: %1; color: %2\"")
                          .arg(colourName(background(mark)), colourName(foreground(mark))));
    }
    cells += cell(escaped(text(l, kBands[0])));
    return QStringLiteral(
               "<table class=\"key\" cellspacing=\"0\" cellpadding=\"2\"><tr><td "
               "class=\"plain\" colspan=\"5\">%1</td></tr><tr>%2</tr></table>\n")
        .arg(escaped(text(l, Text::Key)), cells);
}

void pupilOperation(Html& html, const PupilFigures& pupil, const OperationFigures& f,
                    ui::Look look) {
    const Language l = pupil.language;
    html.heading(1, pupil.shown + QStringLiteral(" — ") + operationName(l, f.operation));
    html.paragraph(
        f.periodStarted
            ? text(l, Text::Period).arg(dateText(l, f.periodStart), dateText(l, f.periodEnd))
            : text(l, Text::NoPeriod));
    html.heading(2, text(l, Text::ErrorRates));
    html.table(
        [operation = f.operation, counts = f.counts, weights = f.errors.weights, l,
         look](ui::Canvas& canvas) {
            paintStatisticsTable(canvas, operation, counts, weights, l, look);
        },
        kGridShownWidth);
    html.raw(key(l, look));

    QString table =
        QStringLiteral(
            "<table cellspacing=\"0\" "
            "cellpadding=\"2\">\n<tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th></tr>\n")
            .arg(escaped(text(l, Text::Number)), escaped(text(l, Text::Answers)),
                 escaped(text(l, Text::LastMarks)), escaped(text(l, Text::LatestMark)));
    for (int row = 1; row <= 9; ++row) {
        const QString number = row == 1 ? text(l, Text::AllNumbers) : QString::number(row);
        const QString answers = row == 1 ? QString() : QString::number(f.totals[row]);
        table += QStringLiteral("<tr>") + cell(escaped(number)) +
                 cell(answers, QStringLiteral("class=\"n\"")) + cell(lastMarks(f, row)) +
                 markCell(f.latestMark(row)) + QStringLiteral("</tr>\n");
    }
    table += QStringLiteral("</table>\n");
    html.raw(table);

    QStringList typical;
    for (const Terror& error : f.errors.typicalErrors) {
        typical << statistics::typicalErrorText(f.operation, error);
    }
    QStringList next;
    for (const Exercise& e : practiseNext(f)) {
        next << text(l, Text::PractiseEntry)
                    .arg(exerciseText(f.operation, e.number, e.factor), percentText(e.rate(), l))
                    .arg(e.number);
    }
    // Side by side, so that the pupil's operation keeps to one page.
    const auto column = [l](Text heading, const QStringList& lines, const QString& separator) {
        QString content = QStringLiteral("<b>%1</b><br>").arg(escaped(text(l, heading)));
        if (lines.isEmpty()) {
            return content + escaped(text(l, Text::None));
        }
        QStringList shown;
        for (const QString& line : lines) {
            shown << escaped(line);
        }
        return content + shown.join(separator);
    };
    html.raw(QStringLiteral("<table class=\"plain\" cellspacing=\"0\" cellpadding=\"0\" "
                            "style=\"margin-top: 8px\"><tr><td class=\"plain\" "
                            "width=\"50%\" valign=\"top\">%1</td><td class=\"plain\" "
                            "valign=\"top\">%2</td></tr></table>\n")
                 .arg(column(Text::TypicalErrors, typical, QStringLiteral(", ")),
                      column(Text::PractiseNext, next, QStringLiteral("<br>"))));
}

// The marks' colours are written as the pages are: in the pupil's look.
void pupilPages(Html& html, const PupilFigures& pupil, ui::Look look) {
    const LookScope scope(look);
    bool any = false;
    for (const OperationFigures& f : pupil.operations) {
        if (f.hasData()) {
            pupilOperation(html, pupil, f, look);
            any = true;
        }
    }
    if (!any) {
        html.heading(1, pupil.shown);
        html.paragraph(text(pupil.language, Text::NoAnswers));
    }
}

void classPages(Html& html, const std::vector<PupilFigures>& pupils, Language l, Text heading,
                ui::Look look) {
    const LookScope scope(look);
    for (int operation : kOperations) {
        const bool any = std::any_of(pupils.begin(), pupils.end(), [&](const PupilFigures& p) {
            const OperationFigures* f = p.operation(operation);
            return f != nullptr && f->hasData();
        });
        if (!any) {
            continue;
        }
        html.heading(1, text(l, heading) + QStringLiteral(" — ") + operationName(l, operation));
        QString table =
            QStringLiteral(
                "<table cellspacing=\"0\" cellpadding=\"3\">\n<thead><tr><th>%1</th><th>%2</th>")
                .arg(escaped(text(l, Text::Pupil)), escaped(text(l, Text::AllNumbers)));
        for (int number = kFirstNumber; number <= kLastNumber; ++number) {
            table += QStringLiteral("<th>%1</th>").arg(number);
        }
        // The head is repeated on every page the table runs over.
        table += QStringLiteral("<th>%1</th></tr></thead>\n").arg(escaped(text(l, Text::Answers)));
        for (const PupilFigures& pupil : pupils) {
            const OperationFigures* f = pupil.operation(operation);
            table += QStringLiteral("<tr>") + cell(escaped(pupil.shown));
            int answers = 0;
            for (int row = 1; row <= 9; ++row) {
                table += markCell(f != nullptr ? f->latestMark(row) : 0);
                if (f != nullptr && row >= kFirstNumber) {
                    answers += f->totals[row];
                }
            }
            table += cell(f != nullptr ? QString::number(answers) : QStringLiteral("—"),
                          QStringLiteral("class=\"n\"")) +
                     QStringLiteral("</tr>\n");
        }
        table += QStringLiteral("</table>\n");
        html.raw(table);

        const ClassFigures sums = classFigures(pupils, operation);
        ExerciseCountTable counts;
        WeightTable weights;
        classTable(sums, counts, weights);
        if (pupils.size() > kPupilsSharingAPage) {
            html.heading(1, text(l, heading) + QStringLiteral(" — ") + operationName(l, operation));
        }
        html.heading(2, text(l, Text::ErrorRates));
        html.table(
            [operation, counts, weights, l, look](ui::Canvas& canvas) {
                paintStatisticsTable(canvas, operation, counts, weights, l, look);
            },
            kGridShownWidth);
        html.raw(key(l, look));
        html.heading(2, text(l, Text::MostMissed));
        QStringList missed;
        for (const Exercise& e : mostMissed(sums)) {
            missed << text(l, Text::MissedEntry)
                          .arg(exerciseText(operation, e.number, e.factor), weightText(e.errors, l))
                          .arg(e.answers)
                          .arg(percentText(e.rate(), l));
        }
        if (missed.isEmpty()) {
            html.paragraph(text(l, Text::None));
        } else {
            html.list(missed);
        }
    }
}

}  // namespace

QString skippedLine(Language l, const Skipped& s) {
    return text(l, Text::UnreadableEntry)
        .arg(s.pupil, QDir::toNativeSeparators(s.path),
             s.reason.isEmpty() ? text(l, Text::DamagedReason) : s.reason);
}

Language reportLanguage(const Request& request, const Collected& collected) {
    if (request.language) {
        return *request.language;
    }
    return collected.pupils.empty() ? Language::British : collected.pupils.front().language;
}

QString documentHtml(const Request& request, const Collected& collected, Pictures& pictures) {
    const Language l = reportLanguage(request, collected);
    Html html(pictures);
    html.raw(QStringLiteral("<h1>%1</h1>\n").arg(escaped(text(l, Text::Title))));
    html.paragraph(text(l, Text::MadeOn).arg(dateText(l, request.moment)));
    if (!collected.skipped.empty()) {
        html.heading(2, text(l, Text::Unreadable));
        QStringList lines;
        for (const Skipped& s : collected.skipped) {
            lines << skippedLine(l, s);
        }
        html.list(lines);
    }
    if (collected.pupils.size() > 1) {
        // The pupils of several computers' folders are a class; of one, maybe a family's.
        classPages(html, collected.pupils, l,
                   collected.folders > 1 ? Text::ClassHeading : Text::PupilsHeading,
                   request.highContrast ? ui::Look::HighContrast : ui::Look::Default);
    }
    for (const PupilFigures& pupil : collected.pupils) {
        pupilPages(html, pupil, request.highContrast ? ui::Look::HighContrast : pupil.look);
    }
    return html.document(text(l, Text::Title));
}

}  // namespace report
