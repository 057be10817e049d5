#include "report/Report.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <variant>
#include <vector>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include "app/Colours.h"
#include "app/Texts.h"
#include "game/GridRenderer.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"
#include "statistics/ErrorRates.h"
#include "trainer/ExerciseColumn.h"
#include "trainer/Marks.h"

namespace report {

namespace {

using persistence::ExerciseCountTable;
using persistence::MarkRow;
using persistence::Terror;
using statistics::WeightTable;

constexpr int kOperations[] = {persistence::kMultiplication, persistence::kDivision};
constexpr int kFirstNumber = 2;
constexpr int kLastNumber = 9;

// The statistics table and the exercise column at the window's design sizes, so that they are
// drawn exactly as there, and the part of the column that holds the mark bars.
constexpr int kGridWidth = 783;
constexpr int kGridHeight = 632;
constexpr int kColumnWidth = 284;
constexpr int kColumnHeight = 450;
constexpr int kBarsWidth = 94;
constexpr int kMarkRowHeight = kColumnHeight / 9;
// Shown sizes in CSS pixels (96 to the inch), and the pixels per design unit that print them:
// the table 10 cm wide at about 200 dots per inch, a row of bars 4 mm high at about 370. The
// PDF's time goes into storing the tables' pixels, so the table's ratio sets the report's speed.
constexpr int kGridShownWidth = 380;
constexpr double kPrintRatio = 1.0;
constexpr int kBarsShownHeight = 16;
constexpr double kBarsRatio = 1.25;
constexpr int kPdfResolution = 300;

// Exercises answered fewer times than this say too little to be practised next.
constexpr std::uint16_t kFewAnswers = 3;
constexpr std::size_t kPractiseCount = 5;
constexpr std::size_t kMissedCount = 10;
// Above this many pupils the class's table of error rates goes to a page of its own.
constexpr std::size_t kPupilsSharingAPage = 12;

struct OperationFigures {
    int operation = persistence::kMultiplication;
    bool periodStarted = false;
    double periodStart = 0;
    double periodEnd = 0;
    ExerciseCountTable counts;
    ui::CheckedArray<MarkRow, 1, 9> marks;
    ui::CheckedArray<std::uint8_t, 1, 9> markCounts;
    statistics::ErrorSummary errors;
    statistics::NumberTotals totals;

    bool hasData() const {
        return std::any_of(totals.begin(), totals.end(), [](int n) { return n > 0; }) ||
               std::any_of(markCounts.begin(), markCounts.end(), [](int n) { return n > 0; });
    }
    // The latest mark of a marks row (1 all numbers, 2..9 a number); 0 for none.
    int latestMark(int row) const {
        const int count = std::min<int>(markCounts[row], 10);
        return count == 0 ? 0 : marks[row][count];
    }
};

struct PupilFigures {
    QString name;
    Language language = Language::Russian;
    std::vector<OperationFigures> operations;  // the readable ones, with data or not

    const OperationFigures* operation(int code) const {
        for (const OperationFigures& figures : operations) {
            if (figures.operation == code) {
                return &figures;
            }
        }
        return nullptr;
    }
};

struct Skipped {
    QString pupil;
    QString path;
    QString reason;
};

struct Collected {
    std::vector<PupilFigures> pupils;
    std::vector<Skipped> skipped;
};

struct Found {
    pupils::Pupil pupil;
    QString folder;
};

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

OperationFigures figuresOf(int operation, const persistence::ProgressRecord& record,
                           const std::vector<Terror>& records) {
    OperationFigures f;
    f.operation = operation;
    f.periodStarted = record.PeriodStarted[operation] == 1;
    f.periodStart = record.PeriodStart[operation];
    f.periodEnd = record.PeriodEnd[operation];
    f.counts = record.ExerciseCount[operation];
    f.marks = record.MarkHistory[operation];
    f.markCounts = record.MarkHistoryLength[operation];
    // The screen's own log: the records in elements 1..count.
    std::vector<Terror> log;
    if (!records.empty()) {
        log.reserve(records.size() + 1);
        log.emplace_back();
        log.insert(log.end(), records.begin(), records.end());
    }
    f.errors = statistics::summariseErrors(log, static_cast<int>(records.size()));
    f.totals = statistics::numberTotals(f.counts);
    return f;
}

void readPupil(const Found& found, Collected& collected) {
    const QString name = found.pupil.name;
    const QString savePath = persistence::progressFilePath(found.folder);
    const auto progress = persistence::readProgressFileInPlace(savePath);
    if (const auto* failure = std::get_if<persistence::FileFailure>(&progress)) {
        collected.skipped.push_back({name, savePath, failure->reason});
        return;
    }
    const auto& content = std::get<persistence::ProgressFileContent>(progress);
    if (content.damaged) {
        collected.skipped.push_back({name, savePath, {}});
        return;
    }
    const persistence::ProgressRecord record =
        content.record.value_or(persistence::ProgressRecord{});
    PupilFigures pupil;
    pupil.name = name;
    pupil.language = languageOfCode(record.LanguageCode);
    for (int operation : kOperations) {
        const QString path = persistence::errorFilePath(found.folder, operation);
        const auto errors = persistence::readErrorFileInPlace(path);
        if (const auto* failure = std::get_if<persistence::FileFailure>(&errors)) {
            collected.skipped.push_back({name, path, failure->reason});
            continue;
        }
        const auto& log = std::get<persistence::ErrorFileContent>(errors);
        // Error rates from part of a log would look better than they are: the operation is left
        // out rather than shown wrong.
        if (log.damaged) {
            collected.skipped.push_back({name, path, {}});
            continue;
        }
        pupil.operations.push_back(figuresOf(operation, record, log.records));
    }
    collected.pupils.push_back(std::move(pupil));
}

std::variant<Collected, QString> collect(const Request& request) {
    std::vector<Found> all;
    std::vector<pupils::Pupil> known;
    for (const QString& folder : request.dataFolders) {
        if (!QFileInfo(folder).isDir()) {
            return QStringLiteral("The folder %1 does not exist.")
                .arg(quoted(QDir::toNativeSeparators(folder)));
        }
        // The first pupil of a folder copied from another computer is not this account's user:
        // without a name of their own they are called after the folder.
        QString firstName = request.firstPupilName;
        if (firstName.isEmpty() && request.foldersOfOthers) {
            firstName = QDir(folder).dirName();
        }
        const pupils::Roster roster =
            firstName.isEmpty() ? pupils::Roster(folder) : pupils::Roster(folder, firstName);
        for (const pupils::Pupil& pupil : roster.pupils()) {
            all.push_back({pupil, roster.folderOf(pupil)});
            known.push_back(pupil);
        }
    }
    std::vector<Found> chosen;
    if (request.pupils.isEmpty()) {
        chosen = all;
    } else {
        for (const QString& typed : request.pupils) {
            if (!pupils::findPupil(known, typed)) {
                return pupils::unknownPupilMessage(typed, known);
            }
        }
        // In the folders' order; a name found in several folders is every one of those pupils.
        for (const Found& found : all) {
            const bool asked = std::any_of(
                request.pupils.begin(), request.pupils.end(), [&](const QString& typed) {
                    const auto match = pupils::findPupil({found.pupil}, typed);
                    return match.has_value();
                });
            if (asked) {
                chosen.push_back(found);
            }
        }
    }
    Collected collected;
    for (const Found& found : chosen) {
        readPupil(found, collected);
    }
    return collected;
}

// --- numbers shared by the formats ---

QString exerciseText(int operation, int number, int factor) {
    if (operation == persistence::kMultiplication) {
        return QStringLiteral("%1x%2").arg(number).arg(factor);
    }
    return QStringLiteral("%1:%2").arg(number * factor).arg(number);
}

QString weightText(float weight) {
    return QString::number(static_cast<double>(weight), 'g', 6);
}

QString percentText(double rate, Language language) {
    return localeOf(language).toString(rate * 100, 'f', 0) + QStringLiteral(" %");
}

struct Exercise {
    int number;
    int factor;
    float errors;
    int answers;
    double rate() const { return answers > 0 ? static_cast<double>(errors) / answers : 0.0; }
};

// The exercises with the highest error rate among those answered at least a few times.
std::vector<Exercise> practiseNext(const OperationFigures& f) {
    std::vector<Exercise> found;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            const float weight = f.errors.weights[i][j];
            if (f.counts[i][j] >= kFewAnswers && weight > 0) {
                found.push_back({i, j, weight, f.counts[i][j]});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Exercise& a, const Exercise& b) {
        return a.rate() != b.rate() ? a.rate() > b.rate() : a.errors > b.errors;
    });
    if (found.size() > kPractiseCount) {
        found.resize(kPractiseCount);
    }
    return found;
}

// The class's answers and errors added up, per exercise.
struct ClassFigures {
    std::vector<std::vector<long long>> answers =
        std::vector<std::vector<long long>>(11, std::vector<long long>(11, 0));
    WeightTable weights;
};

ClassFigures classFigures(const std::vector<PupilFigures>& pupils, int operation) {
    ClassFigures c;
    c.weights.fill({});
    for (const PupilFigures& pupil : pupils) {
        const OperationFigures* f = pupil.operation(operation);
        if (f == nullptr) {
            continue;
        }
        for (int i = kFirstNumber; i <= kLastNumber; ++i) {
            for (int j = 1; j <= 10; ++j) {
                c.answers[i][j] += f->counts[i][j];
                c.weights[i][j] += f->errors.weights[i][j];
            }
        }
    }
    return c;
}

// The class's sums as the table's counts and weights. A sum beyond what one pupil's count can hold
// is brought down with its errors in the same proportion, which keeps the rate the mark shows.
void classTable(const ClassFigures& c, ExerciseCountTable& counts, WeightTable& weights) {
    weights = c.weights;
    for (int i = 1; i <= 10; ++i) {
        for (int j = 1; j <= 10; ++j) {
            counts[i][j] = 0;
        }
    }
    constexpr long long kMost = std::numeric_limits<std::uint16_t>::max();
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            const long long n = c.answers[i][j];
            if (n > kMost) {
                weights[i][j] = static_cast<float>(static_cast<double>(weights[i][j]) * kMost / n);
            }
            counts[i][j] = static_cast<std::uint16_t>(std::min(n, kMost));
        }
    }
}

std::vector<Exercise> mostMissed(const ClassFigures& c) {
    std::vector<Exercise> found;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            if (c.weights[i][j] > 0) {
                found.push_back({i, j, c.weights[i][j],
                                 static_cast<int>(std::min<long long>(
                                     c.answers[i][j], std::numeric_limits<int>::max()))});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Exercise& a, const Exercise& b) {
        return a.errors != b.errors ? a.errors > b.errors : a.rate() > b.rate();
    });
    if (found.size() > kMissedCount) {
        found.resize(kMissedCount);
    }
    return found;
}

// --- pictures, drawn by the window's own painters ---

QImage statisticsTable(ui::Bitmap& bitmap, int operation, const ExerciseCountTable& counts,
                       const WeightTable& weights, Language language) {
    game::Board board;
    statistics::fillStatisticsBoard(board, operation, counts, weights);
    const int row = interfaceRow(language);
    game::GridContent content;
    content.mode = 3;
    content.operation = operation;
    content.board = &board;
    content.cellWidth = static_cast<int>(ui::roundHalfEven(kGridWidth / 10.0));
    content.cellHeight = static_cast<int>(ui::roundHalfEven(kGridHeight / 9.0));
    content.multiplier = QString::fromUtf8(UiText[row][25]);
    content.multiplicand = QString::fromUtf8(UiText[row][26]);
    content.divider = QString::fromUtf8(UiText[row][27]);
    content.dividend = QString::fromUtf8(UiText[row][28]);
    bitmap.setSize(kGridWidth, kGridHeight);
    {
        ui::Canvas canvas(bitmap);
        game::paintGrid(canvas, content);
    }
    // Opaque, so that the PDF keeps no transparency mask, and a copy of the bitmap's own pixels.
    QImage image = bitmap.image().convertToFormat(QImage::Format_RGB888);
    image.setDevicePixelRatio(1);
    return image;
}

// The exercise column's mark bars, one picture per marks row.
std::vector<QImage> markBars(ui::Bitmap& bitmap, const OperationFigures& f) {
    bitmap.setSize(kColumnWidth, kColumnHeight);
    {
        ui::Canvas canvas(bitmap);
        canvas.clear(colours::kDimGrey);
        trainer::ColumnContent content;
        content.width = kColumnWidth;
        content.height = kColumnHeight;
        content.rowHeight = kColumnHeight / 10;
        content.operation = f.operation;
        content.rows = 0;
        content.marks = &f.marks;
        content.markCounts = &f.markCounts;
        trainer::paintExerciseColumn(canvas, content);
    }
    const QImage column = bitmap.image().convertToFormat(QImage::Format_RGB32);
    std::vector<QImage> rows;
    for (int row = 1; row <= 9; ++row) {
        QImage strip = column.copy(0, static_cast<int>((row - 1) * kMarkRowHeight * kBarsRatio),
                                   static_cast<int>(kBarsWidth * kBarsRatio),
                                   static_cast<int>(kMarkRowHeight * kBarsRatio));
        strip.setDevicePixelRatio(1);
        rows.push_back(strip);
    }
    return rows;
}

// Where the pictures of a document go: inside an HTML file, or to the PDF's document.
using Drawing = std::function<QImage(ui::Bitmap& bitmap)>;

class Pictures {
  public:
    virtual ~Pictures() = default;
    virtual QString add(const QImage& image) = 0;
    // A large picture, drawn into the given bitmap when it is needed.
    virtual QString add(const Drawing& draw) = 0;

  protected:
    ui::Bitmap tableBitmap_{kPrintRatio};
};

class InlinePictures : public Pictures {
  public:
    QString add(const Drawing& draw) override { return add(draw(tableBitmap_)); }
    QString add(const QImage& image) override {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
};

// The PDF's document. Its tables are drawn only when their page is printed and not kept: held
// all at once they would take fresh memory, whose first touch costs more than drawing them.
class ReportDocument : public QTextDocument, public Pictures {
  public:
    QString add(const QImage& image) override {
        const QString name = QStringLiteral("picture%1").arg(++count_);
        addResource(QTextDocument::ImageResource, QUrl(name), image);
        return name;
    }
    QString add(const Drawing& draw) override {
        const QString name = QStringLiteral("table%1").arg(drawings_.size());
        drawings_.push_back(draw);
        return name;
    }

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QString path = name.toString();
        if (type == QTextDocument::ImageResource && path.startsWith(QLatin1String("table"))) {
            bool number = false;
            const auto index = static_cast<std::size_t>(path.mid(5).toULongLong(&number));
            if (number && index < drawings_.size()) {
                return drawings_[index](tableBitmap_);
            }
        }
        return QTextDocument::loadResource(type, name);
    }

  private:
    std::vector<Drawing> drawings_;
    int count_ = 0;
};

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
    return localeOf(language).toString(date, QLocale::ShortFormat);
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
    QString inlinePicture(const QImage& image, int height) {
        const int width = static_cast<int>(
            std::lround(height * static_cast<double>(image.width()) / image.height()));
        return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"\">")
            .arg(pictures_.add(image))
            .arg(width)
            .arg(height);
    }
    void raw(const QString& html) { out_ += html; }

    // Drawn again for every row of bars: the memory of one is used for the next.
    ui::Bitmap columnBitmap{kBarsRatio};

    QString document(const QString& title) const {
        return QStringLiteral(
                   "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
                   "<style>body { font-family: 'Open Sans', sans-serif; font-size: 10pt; }\n"
                   "table { border-collapse: collapse; }\n"
                   "td, th { border: 1px solid #888888; padding: 2px 6px; }\n"
                   "th { background-color: #e0e0e0; }\n"
                   "td.n { text-align: right; }\n"
                   "td.plain { border: none; padding: 0 16px 0 0; }</style></head>\n<body>\n")
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

void pupilOperation(Html& html, const PupilFigures& pupil, const OperationFigures& f) {
    const Language l = pupil.language;
    html.heading(1, pupil.name + QStringLiteral(" — ") + operationName(l, f.operation));
    html.paragraph(
        f.periodStarted
            ? text(l, Text::Period).arg(dateText(l, f.periodStart), dateText(l, f.periodEnd))
            : text(l, Text::NoPeriod));
    html.heading(2, text(l, Text::ErrorRates));
    html.table(
        [operation = f.operation, counts = f.counts, weights = f.errors.weights,
         l](ui::Bitmap& bitmap) { return statisticsTable(bitmap, operation, counts, weights, l); },
        kGridShownWidth);

    const std::vector<QImage> bars = markBars(html.columnBitmap, f);
    QString table =
        QStringLiteral(
            "<table cellspacing=\"0\" "
            "cellpadding=\"2\">\n<tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th></tr>\n")
            .arg(escaped(text(l, Text::Number)), escaped(text(l, Text::Answers)),
                 escaped(text(l, Text::LastMarks)), escaped(text(l, Text::LatestMark)));
    for (int row = 1; row <= 9; ++row) {
        const QString number = row == 1 ? text(l, Text::AllNumbers) : QString::number(row);
        const QString answers = row == 1 ? QString() : QString::number(f.totals[row]);
        table +=
            QStringLiteral("<tr>") + cell(escaped(number)) +
            cell(answers, QStringLiteral("class=\"n\"")) +
            cell(html.inlinePicture(bars[static_cast<std::size_t>(row - 1)], kBarsShownHeight)) +
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

void pupilPages(Html& html, const PupilFigures& pupil) {
    bool any = false;
    for (const OperationFigures& f : pupil.operations) {
        if (f.hasData()) {
            pupilOperation(html, pupil, f);
            any = true;
        }
    }
    if (!any) {
        html.heading(1, pupil.name);
        html.paragraph(text(pupil.language, Text::NoAnswers));
    }
}

void classPages(Html& html, const std::vector<PupilFigures>& pupils, Language l) {
    for (int operation : kOperations) {
        const bool any = std::any_of(pupils.begin(), pupils.end(), [&](const PupilFigures& p) {
            const OperationFigures* f = p.operation(operation);
            return f != nullptr && f->hasData();
        });
        if (!any) {
            continue;
        }
        html.heading(
            1, text(l, Text::ClassHeading) + QStringLiteral(" — ") + operationName(l, operation));
        QString table =
            QStringLiteral(
                "<table cellspacing=\"0\" cellpadding=\"3\">\n<tr><th>%1</th><th>%2</th>")
                .arg(escaped(text(l, Text::Pupil)), escaped(text(l, Text::AllNumbers)));
        for (int number = kFirstNumber; number <= kLastNumber; ++number) {
            table += QStringLiteral("<th>%1</th>").arg(number);
        }
        table += QStringLiteral("<th>%1</th></tr>\n").arg(escaped(text(l, Text::Answers)));
        for (const PupilFigures& pupil : pupils) {
            const OperationFigures* f = pupil.operation(operation);
            table += QStringLiteral("<tr>") + cell(escaped(pupil.name));
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
            html.heading(1, text(l, Text::ClassHeading) + QStringLiteral(" — ") +
                                operationName(l, operation));
        }
        html.heading(2, text(l, Text::ErrorRates));
        html.table(
            [operation, counts, weights, l](ui::Bitmap& bitmap) {
                return statisticsTable(bitmap, operation, counts, weights, l);
            },
            kGridShownWidth);
        html.heading(2, text(l, Text::MostMissed));
        QStringList missed;
        for (const Exercise& e : mostMissed(sums)) {
            missed << text(l, Text::MissedEntry)
                          .arg(exerciseText(operation, e.number, e.factor), weightText(e.errors))
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
        classPages(html, collected.pupils, l);
    }
    for (const PupilFigures& pupil : collected.pupils) {
        pupilPages(html, pupil);
    }
    return html.document(text(l, Text::Title));
}

// --- the formats ---

QString csvField(const QString& field) {
    if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
        QString doubled = field;
        doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + doubled + QLatin1Char('"');
    }
    return field;
}

QByteArray csv(const Collected& collected) {
    QString out = QStringLiteral(
        "pupil,operation,number,factor,answers,errors,error rate,rate mark,latest mark\n");
    for (const PupilFigures& pupil : collected.pupils) {
        for (const OperationFigures& f : pupil.operations) {
            if (!f.hasData()) {
                continue;
            }
            const QString operation = f.operation == persistence::kMultiplication
                                          ? QStringLiteral("multiplication")
                                          : QStringLiteral("division");
            for (int i = kFirstNumber; i <= kLastNumber; ++i) {
                const int latest = f.latestMark(i);
                for (int j = 1; j <= 10; ++j) {
                    const std::uint16_t answers = f.counts[i][j];
                    const float weight = f.errors.weights[i][j];
                    const QString rate =
                        answers > 0 ? QString::number(static_cast<double>(weight) / answers, 'g', 6)
                                    : QString();
                    const QStringList fields{
                        csvField(pupil.name),
                        operation,
                        QString::number(i),
                        QString::number(j),
                        QString::number(answers),
                        weightText(weight),
                        rate,
                        QString::number(statistics::errorMark(weight, answers)),
                        latest > 0 ? QString::number(latest) : QString()};
                    out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
                }
            }
        }
    }
    return out.toUtf8();
}

enum class Format { Pdf, Html, Csv };

bool formatOf(const QString& target, Format& format) {
    const QString suffix = QFileInfo(target).suffix().toLower();
    if (suffix == QLatin1String("pdf")) {
        format = Format::Pdf;
    } else if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
        format = Format::Html;
    } else if (suffix == QLatin1String("csv")) {
        format = Format::Csv;
    } else {
        return false;
    }
    return true;
}

bool usesLetter() {
    const QLocale system = QLocale::system();
    return system.measurementSystem() == QLocale::ImperialUSSystem;
}

// True when the target lies in a folder the report reads.
bool insideDataFolder(const QString& target, const QStringList& folders) {
    const QString targetFolder = QFileInfo(QFileInfo(target).absolutePath()).canonicalFilePath();
    if (targetFolder.isEmpty()) {
        return false;
    }
    for (const QString& folder : folders) {
        const QString read = QFileInfo(folder).canonicalFilePath();
        if (!read.isEmpty() &&
            (targetFolder == read || targetFolder.startsWith(read + QLatin1Char('/')))) {
            return true;
        }
    }
    return false;
}

Outcome failure(const QString& message) {
    return {1, message, {}};
}

// Lays the HTML out on the pages and prints them. Printed by hand rather than by
// QTextDocument::print, whose painter would store the tables' flat colours as JPEG: lossless
// they are sharper and a fraction of the size.
void writePdf(QIODevice& device, const QString& title,
              const std::function<QString(Pictures&)>& html) {
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(usesLetter() ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 20), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Kestrova"));

    ReportDocument document;
    // Sizes in points and CSS pixels are measured on the PDF's own resolution.
    document.documentLayout()->setPaintDevice(&writer);
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    document.setPageSize(page);
    document.setDefaultFont(QFont(ui::familyName(ui::FontFamily::Default), 10));
    document.setHtml(html(document));

    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int pages = document.pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -p * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, p * page.height()), page));
        painter.restore();
        // The page's number in the bottom margin.
        painter.setFont(QFont(ui::familyName(ui::FontFamily::Default), 9));
        painter.drawText(QRectF(0, page.height(), page.width(), kPdfResolution / 3.0),
                         Qt::AlignCenter, QString::number(p + 1));
    }
}

QString documentTitle(const Request& request, const Collected& collected) {
    return text(reportLanguage(request, collected), Text::Title);
}

}  // namespace

QString datedReportName(const QString& folder, Language language, double moment) {
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(moment)));
    return folder + QLatin1Char('/') + text(language, Text::Title) + QLatin1Char(' ') +
           date.toString(Qt::ISODate) + QStringLiteral(".pdf");
}

Outcome writeReport(const Request& request) {
    Format format = Format::Pdf;
    if (!formatOf(request.target, format)) {
        return failure(QStringLiteral("Unknown report format %1: give a file ending in .pdf, "
                                      ".html or .csv.")
                           .arg(quoted(request.target)));
    }
    if (insideDataFolder(request.target, request.dataFolders)) {
        return failure(QStringLiteral("The report %1 would go into a folder it reads: give "
                                      "another place.")
                           .arg(quoted(request.target)));
    }
    auto read = collect(request);
    if (const auto* message = std::get_if<QString>(&read)) {
        return failure(*message);
    }
    const Collected& collected = std::get<Collected>(read);

    // Written beside the target and renamed over it only when whole.
    QSaveFile file(request.target);
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(QStringLiteral("The report cannot be written to %1: %2.")
                           .arg(quoted(request.target), file.errorString()));
    }
    if (format == Format::Csv) {
        file.write(csv(collected));
    } else if (format == Format::Html) {
        InlinePictures pictures;
        file.write(documentHtml(request, collected, pictures).toUtf8());
    } else {
        writePdf(file, documentTitle(request, collected),
                 [&](Pictures& pictures) { return documentHtml(request, collected, pictures); });
    }
    if (!file.commit()) {
        return failure(QStringLiteral("The report cannot be written to %1: %2.")
                           .arg(quoted(request.target), file.errorString()));
    }
    Outcome outcome;
    const Language l = reportLanguage(request, collected);
    for (const Skipped& s : collected.skipped) {
        outcome.skipped << text(l, Text::Unreadable) + QStringLiteral(": ") + skippedLine(l, s);
    }
    return outcome;
}

}  // namespace report
