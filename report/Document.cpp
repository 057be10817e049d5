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

Cell markCell(int mark) {
    QRgb colour = 0;
    if (!trainer::markColour(mark, colour)) {
        return {};
    }
    return {QString::number(mark), true, colour};
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
void key(DocumentWriter& out, Language l, ui::Look look) {
    const ui::Palette& palette = ui::palette(look);
    constexpr Text kBands[5] = {Text::KeyNotAnswered, Text::KeyBand1, Text::KeyBand2,
                                Text::KeyBand3, Text::KeyBand4};
    std::vector<Cell> bands;
    for (int mark = 1; mark <= 4; ++mark) {
        bands.push_back({text(l, kBands[mark]), false,
                         look == ui::Look::Default ? kPrintMarkColours[mark] : palette.bands[mark],
                         look == ui::Look::Default ? 0 : palette.bandText[mark]});
    }
    bands.push_back({text(l, kBands[0]), false, 0});
    out.key(text(l, Text::Key), bands);
}

// The marks' colours, best first, each with its digit.
void marksKey(DocumentWriter& out, Language l) {
    std::vector<Cell> marks;
    for (int mark = 5; mark >= 1; --mark) {
        marks.push_back(markCell(mark));
    }
    out.key(text(l, Text::MarksKey), marks);
}

void pupilOperation(DocumentWriter& out, const PupilFigures& pupil, const OperationFigures& f,
                    ui::Look look) {
    const Language l = pupil.language;
    out.heading(1, pupil.shown + QStringLiteral(" — ") + operationName(l, f.operation));
    out.paragraph(
        f.periodStarted
            ? text(l, Text::Period).arg(dateText(l, f.periodStart), dateText(l, f.periodEnd))
            : text(l, Text::NoPeriod));
    out.heading(2, text(l, Text::ErrorRates));
    out.picture([operation = f.operation, counts = f.counts, weights = f.errors.weights, l,
                 look](ui::Canvas& canvas) {
        paintStatisticsTable(canvas, operation, counts, weights, l, look);
    });
    key(out, l, look);

    Table table;
    table.head = {text(l, Text::Number), text(l, Text::Answers), text(l, Text::LastMarks),
                  text(l, Text::LatestMark)};
    for (int row = 1; row <= 9; ++row) {
        const QString number = row == 1 ? text(l, Text::AllNumbers) : QString::number(row);
        const QString answers = row == 1 ? QString() : QString::number(f.totals[row]);
        table.rows.push_back(
            {{number}, {answers, true}, {lastMarks(f, row)}, markCell(f.latestMark(row))});
    }
    out.table(table);
    marksKey(out, l);

    Column typical{text(l, Text::TypicalErrors), {}, false};
    for (const Terror& error : f.errors.typicalErrors) {
        typical.lines << statistics::typicalErrorText(f.operation, error);
    }
    Column next{text(l, Text::PractiseNext), {}, true};
    for (const Exercise& e : practiseNext(f)) {
        next.lines << text(l, Text::PractiseEntry)
                          .arg(exerciseText(f.operation, e.number, e.factor),
                               percentText(e.rate(), l))
                          .arg(e.number);
    }
    for (Column* column : {&typical, &next}) {
        if (column->lines.isEmpty()) {
            column->lines << text(l, Text::None);
        }
    }
    out.columns(typical, next);
}

// The marks' colours are written as the pages are: in the pupil's look.
void pupilPages(DocumentWriter& out, const PupilFigures& pupil, ui::Look look) {
    const LookScope scope(look);
    bool any = false;
    for (const OperationFigures& f : pupil.operations) {
        if (f.hasData()) {
            pupilOperation(out, pupil, f, look);
            any = true;
        }
    }
    if (!any) {
        out.heading(1, pupil.shown);
        out.paragraph(text(pupil.language, Text::NoAnswers));
    }
}

void classPages(DocumentWriter& out, const std::vector<PupilFigures>& pupils, Language l,
                Text heading, ui::Look look) {
    const LookScope scope(look);
    for (int operation : kOperations) {
        const bool any = std::any_of(pupils.begin(), pupils.end(), [&](const PupilFigures& p) {
            const OperationFigures* f = p.operation(operation);
            return f != nullptr && f->hasData();
        });
        if (!any) {
            continue;
        }
        out.heading(1, text(l, heading) + QStringLiteral(" — ") + operationName(l, operation));
        Table table;
        table.padding = 3;
        table.headRepeats = true;
        table.head = QStringList{text(l, Text::Pupil), text(l, Text::AllNumbers)};
        for (int number = kFirstNumber; number <= kLastNumber; ++number) {
            table.head << QString::number(number);
        }
        table.head << text(l, Text::Answers);
        for (const PupilFigures& pupil : pupils) {
            const OperationFigures* f = pupil.operation(operation);
            std::vector<Cell> row{{pupil.shown}};
            int answers = 0;
            for (int r = 1; r <= 9; ++r) {
                row.push_back(markCell(f != nullptr ? f->latestMark(r) : 0));
                if (f != nullptr && r >= kFirstNumber) {
                    answers += f->totals[r];
                }
            }
            row.push_back({f != nullptr ? QString::number(answers) : QStringLiteral("—"), true});
            table.rows.push_back(std::move(row));
        }
        out.table(table);
        marksKey(out, l);

        const ClassFigures sums = classFigures(pupils, operation);
        ExerciseCountTable counts;
        WeightTable weights;
        classTable(sums, counts, weights);
        if (pupils.size() > kPupilsSharingAPage) {
            out.heading(1, text(l, heading) + QStringLiteral(" — ") + operationName(l, operation));
        }
        out.heading(2, text(l, Text::ErrorRates));
        out.picture([operation, counts, weights, l, look](ui::Canvas& canvas) {
            paintStatisticsTable(canvas, operation, counts, weights, l, look);
        });
        key(out, l, look);
        out.heading(2, text(l, Text::MostMissed));
        QStringList missed;
        for (const Exercise& e : mostMissed(sums)) {
            missed << text(l, Text::MissedEntry)
                          .arg(exerciseText(operation, e.number, e.factor), weightText(e.errors, l))
                          .arg(e.answers)
                          .arg(percentText(e.rate(), l));
        }
        if (missed.isEmpty()) {
            out.paragraph(text(l, Text::None));
        } else {
            out.list(missed);
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

void writeDocument(const Request& request, const Collected& collected, DocumentWriter& out) {
    const Language l = reportLanguage(request, collected);
    out.title(text(l, Text::Title));
    out.paragraph(text(l, Text::MadeOn).arg(dateText(l, request.moment)));
    if (!collected.skipped.empty()) {
        out.heading(2, text(l, Text::Unreadable));
        QStringList lines;
        for (const Skipped& s : collected.skipped) {
            lines << skippedLine(l, s);
        }
        out.list(lines);
    }
    if (collected.pupils.size() > 1) {
        // The pupils of several computers' folders are a class; of one, maybe a family's.
        classPages(out, collected.pupils, l,
                   collected.folders > 1 ? Text::ClassHeading : Text::PupilsHeading,
                   request.highContrast ? ui::Look::HighContrast : ui::Look::Default);
    }
    for (const PupilFigures& pupil : collected.pupils) {
        pupilPages(out, pupil, request.highContrast ? ui::Look::HighContrast : pupil.look);
    }
}

}  // namespace report
