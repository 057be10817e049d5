// The progress report over three pupils made through the form, in both operations and the three
// languages: its figures are the statistics screen's, it reads the folders without touching them,
// and every failure leaves the target as it was.
#include <map>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/Texts.h"
#include "persistence/LookFile.h"
#include "persistence/ProgressFiles.h"
#include "report/Report.h"
#include "statistics/ErrorRates.h"
#include "tests/support/FilesUnder.h"
#include "tests/support/FormFixture.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "tests/trainer/RunTestSupport.h"
#include "ui/Look.h"

namespace {

// Names that a report must carry as they are: markup and an entity that HTML would swallow, a
// quote and a comma that CSV must quote, and a formula that a spreadsheet must not run.
const QString kBoris = QStringLiteral(R"(Boris <i>&amp;</i> "B", Jr)");
const QString kChloe = QStringLiteral("=1+2 Chloe");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of a CSV file as a spreadsheet splits them (quoted fields, doubled quotes), after the
// byte-order mark that it must begin with.
std::vector<QStringList> readCsv(const QString& path) {
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    const QString text = QString::fromUtf8(bytes.mid(3));
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row << field;
            field.clear();
        } else if (c == '\n') {
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(row.isEmpty() && field.isEmpty()) << "the last line has no end";
    return rows;
}

// The text of a PDF as pdftotext lays it out: of one page, or of all (0).
QString pdfText(const QString& path, int page = 0) {
    QStringList arguments{QStringLiteral("-layout"), path, QStringLiteral("-")};
    if (page > 0) {
        arguments = QStringList{QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                QString::number(page)} +
                    arguments;
    }
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

class Report : public FormFixture {
  protected:
    Report() : roster(dataFolder(), QStringLiteral("Anna")) {
        for (int i = 0; i < 400; ++i) {
            random.push(i * 7 % 10);
        }
        start();
        form().attachPupils(roster, roster.pupils().front(), prompt);
        // Anna in Russian, Boris in British and Chloe in American English, each with mistakes
        // in both operations but for Chloe's multiplication.
        practise(7, 2, 3, 1);
        addPupil(kBoris, 1);
        practise(5, 1, 4, 3);
        practise(8, 4, 4, 0);
        addPupil(kChloe, 2);
        practise(9, 0, 6, 2);
        form().FormClose();
        EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
        target = folder_.path() + QStringLiteral("/out/");
        QDir().mkpath(target);
    }

    void addPupil(const QString& name, int languageItem) {
        prompt.answers.push_back(name);
        TForm3& f = form();
        f.dispatch([&f] { f.PupilBox.setItemIndex(static_cast<int>(f.shownPupils().size())); });
        f.ComboBox1.setItemIndex(languageItem);
    }

    // A multiplication run and a division run, each with some wrong answers first.
    void practise(int multiply, int wrongMultiplying, int divide, int wrongDividing) {
        TForm3& f = form();
        f.Button10Click();
        runOn(multiply, wrongMultiplying);
        f.Button11Click();
        runOn(divide, wrongDividing);
    }

    void runOn(int number, int wrong) {
        TForm3& f = form();
        f.SelectNumber(number);
        f.Button12Click();
        for (int i = 0; f.Button12.tag() == 1 && i < 200; ++i) {
            press(f, i < wrong ? wrongAnswer(f) : f.ExpectedAnswer);
        }
        ASSERT_EQ(f.Button12.tag(), 0) << "the run did not end";
    }

    report::Outcome write(const QString& name, QStringList pupils = {},
                          std::optional<report::Language> language = std::nullopt,
                          bool highContrast = false) {
        report::Request request;
        request.target = target + name;
        request.dataFolders = {dataFolder()};
        request.pupils = std::move(pupils);
        request.language = language;
        request.firstPupilName = QStringLiteral("Anna");
        request.moment = kStartMoment;
        request.highContrast = highContrast;
        return report::writeReport(request);
    }

    // A pupil's folder loaded by the form, as the window would show them.
    std::unique_ptr<TForm3> screenOf(const QString& name) {
        for (const pupils::Pupil& p : roster.pupils()) {
            if (p.name == name) {
                auto shown = std::make_unique<TForm3>(roster.folderOf(p), clock, random, reporter);
                shown->FormCreate();
                return shown;
            }
        }
        ADD_FAILURE() << "no pupil " << name.toStdString();
        return {};
    }

    pupils::Roster roster;
    ScriptedNamePrompt prompt;
    QString target;
};

TEST_F(Report, TheCsvHoldsTheFiguresOfTheStatisticsScreen) {
    const report::Outcome outcome = write(QStringLiteral("all.csv"));
    ASSERT_EQ(outcome.status, 0) << outcome.error.toStdString();
    const std::vector<QStringList> lines = readCsv(target + "all.csv");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().join(','),
              "pupil,operation,number,factor,answers,errors,error rate %,rate mark,latest mark,"
              "folder,unreadable");
    const QString folder = dataFolder().chopped(1);
    std::map<QString, QStringList> rows;  // by pupil, operation, number and factor
    const QRegularExpression wholeNumber(QStringLiteral("^[0-9]*$"));
    for (const QStringList& fields : std::vector<QStringList>(lines.begin() + 1, lines.end())) {
        ASSERT_EQ(fields.size(), 11) << fields.join('|').toStdString();
        // Numbers a spreadsheet reads as numbers whatever its language: no decimal sign.
        for (int column : {4, 5, 6, 7, 8}) {
            EXPECT_TRUE(wholeNumber.match(fields[column]).hasMatch())
                << fields.join('|').toStdString();
        }
        EXPECT_EQ(fields[9], folder);
        EXPECT_EQ(fields[10], "");
        rows[fields.mid(0, 4).join(',')] = fields;
    }

    EXPECT_EQ(rows.count("Anna,multiplication,2,1"), 1u);
    EXPECT_EQ(rows.count(kBoris + ",multiplication,2,1"), 1u) << "the name was not kept whole";
    EXPECT_EQ(rows.count("'" + kChloe + ",division,2,1"), 1u)
        << "a name that reads as a formula starts with a quote";

    int errorsSeen = 0;
    std::size_t allRows = 0;
    for (const QString& name : {QStringLiteral("Anna"), kBoris, kChloe}) {
        auto screen = screenOf(name);
        ASSERT_TRUE(screen);
        const QString field = name == kChloe ? "'" + name : name;
        for (int operation : {2, 3}) {
            SCOPED_TRACE(name.toStdString() + " operation " + std::to_string(operation));
            screen->Operation = operation;
            screen->LoadProgress(operation);
            screen->DrawStatistics(operation);
            const statistics::ErrorSummary errors =
                statistics::summariseErrors(screen->ErrorLog, screen->ErrorLogCount);
            const auto& counts = screen->Progress.ExerciseCount[operation];
            for (int i = 2; i <= 9; ++i) {
                const int length = screen->Progress.MarkHistoryLength[operation][i];
                const QString latest =
                    length == 0
                        ? QString()
                        : QString::number(screen->Progress.MarkHistory[operation][i][length]);
                for (int j = 1; j <= 10; ++j) {
                    const QString key =
                        QStringLiteral("%1,%2,%3,%4")
                            .arg(field, operation == 2 ? "multiplication" : "division")
                            .arg(i)
                            .arg(j);
                    ASSERT_TRUE(rows.count(key)) << key.toStdString();
                    const QStringList& row = rows[key];
                    EXPECT_EQ(row[4].toInt(), counts[i][j]) << key.toStdString();
                    EXPECT_FLOAT_EQ(row[5].toFloat(), errors.weights[i][j]) << key.toStdString();
                    errorsSeen += row[5].toFloat() > 0;
                    if (counts[i][j] > 0) {
                        EXPECT_NEAR(row[6].toDouble(), 100.0 * errors.weights[i][j] / counts[i][j],
                                    0.5);
                    } else {
                        EXPECT_EQ(row[6], "");
                    }
                    // The colour the screen gave the exercise's cell.
                    if (j >= 2) {
                        const int column = operation == 2 ? j : j - 1;
                        EXPECT_EQ(row[7].toInt(), screen->Board[i][column].Mark)
                            << key.toStdString();
                    }
                    EXPECT_EQ(row[8], latest) << key.toStdString();
                }
            }
            const int all = screen->Progress.MarkHistoryLength[operation][1];
            const QString allKey = QStringLiteral("%1,%2,all,")
                                       .arg(field, operation == 2 ? "multiplication" : "division");
            if (all > 0) {
                ASSERT_TRUE(rows.count(allKey)) << allKey.toStdString();
                EXPECT_EQ(rows[allKey][8],
                          QString::number(screen->Progress.MarkHistory[operation][1][all]));
                ++allRows;
            } else {
                EXPECT_EQ(rows.count(allKey), 0u) << allKey.toStdString();
            }
        }
    }
    EXPECT_GE(errorsSeen, 5) << "the fixture holds too few errors to tell anything";
    // A row per pupil, operation and exercise, and one for the marks of all numbers where any.
    EXPECT_EQ(rows.size(), 3u * 2 * 8 * 10 + allRows);
}

TEST_F(Report, ThePdfHoldsEveryPupilTheirMarksAndTheClassPage) {
    const report::Outcome outcome = write(QStringLiteral("all.pdf"));
    ASSERT_EQ(outcome.status, 0) << outcome.error.toStdString();
    EXPECT_TRUE(readFile(target + "all.pdf").startsWith("%PDF"));
    const QString text = pdfText(target + "all.pdf");
    // The page of all pupils in the first pupil's language, each pupil's pages in their own,
    // each with the key of the table's colours.
    for (const QString& expected :
         {QStringLiteral("Отчёт об успехах"), QStringLiteral("Все ученики — Умножение"),
          QStringLiteral("Все ученики — Деление"), QStringLiteral("Anna — Умножение"),
          QStringLiteral("Anna — Деление"), kBoris + QStringLiteral(" — Multiplication"),
          kBoris + QStringLiteral(" — Division"), kChloe + QStringLiteral(" — Division"),
          QStringLiteral("Practise next"), QStringLiteral("Practice next"),
          QStringLiteral("Last grades"), QStringLiteral("Последние оценки"),
          QStringLiteral("доля ошибок"), QStringLiteral("share of wrong answers"),
          QStringLiteral("over 21 %"), QStringLiteral("больше 21 %"),
          QStringLiteral("цвет клетки — как в окне программы"),
          QStringLiteral("coloured as in the program's window"),
          QStringLiteral("colored as in the program's window")}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_FALSE(text.contains("Класс")) << "the pupils of one folder are not called a class";
    // Chloe answered multiplication without a mistake: no error rates to practise there, and
    // her marks row shows the 5 of number 9.
    for (const QString& name : {QStringLiteral("Anna"), kBoris, kChloe}) {
        auto screen = screenOf(name);
        ASSERT_TRUE(screen);
        for (int operation : {2, 3}) {
            screen->LoadProgress(operation);
            const auto errors =
                statistics::summariseErrors(screen->ErrorLog, screen->ErrorLogCount);
            for (const auto& error : errors.typicalErrors) {
                EXPECT_TRUE(text.contains(statistics::typicalErrorText(operation, error)))
                    << name.toStdString() << " "
                    << statistics::typicalErrorText(operation, error).toStdString();
            }
            // The class table's row: the latest marks of the numbers practised, then the answers.
            QStringList marks;
            int answers = 0;
            for (int row = 1; row <= 9; ++row) {
                const int length = screen->Progress.MarkHistoryLength[operation][row];
                if (length > 0) {
                    marks << QString::number(screen->Progress.MarkHistory[operation][row][length]);
                }
                if (row >= 2) {
                    answers +=
                        statistics::numberTotals(screen->Progress.ExerciseCount[operation])[row];
                }
            }
            ASSERT_FALSE(marks.isEmpty());
            const QRegularExpression classRow(
                QStringLiteral("^\\s*%1\\s+%2\\s+%3\\s*$")
                    .arg(QRegularExpression::escape(name), marks.join(QStringLiteral("\\s+")))
                    .arg(answers),
                QRegularExpression::MultilineOption);
            EXPECT_TRUE(classRow.match(text).hasMatch())
                << name.toStdString() << " operation " << operation << ": "
                << classRow.pattern().toStdString() << "\n"
                << text.toStdString();
            // A number's row of the pupil's page: its answers and last marks, as digits.
            for (int row = 2; row <= 9; ++row) {
                const int length = screen->Progress.MarkHistoryLength[operation][row];
                if (length == 0) {
                    continue;
                }
                QStringList last;
                for (int i = std::max(1, length - 9); i <= length; ++i) {
                    last << QString::number(screen->Progress.MarkHistory[operation][row][i]);
                }
                const QRegularExpression marksRow(
                    QStringLiteral("^\\s*%1\\s+%2\\s+%3\\s+%4\\s*$")
                        .arg(row)
                        .arg(statistics::numberTotals(
                            screen->Progress.ExerciseCount[operation])[row])
                        .arg(last.join(QStringLiteral("\\s+")), last.back()),
                    QRegularExpression::MultilineOption);
                EXPECT_TRUE(marksRow.match(text).hasMatch())
                    << name.toStdString() << " " << marksRow.pattern().toStdString();
            }
        }
    }

    // The tables are shapes and text, no pictures: their numbers can be found and copied.
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), target + "all.pdf"});
    ASSERT_TRUE(images.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(images.readAllStandardOutput()).trimmed().count('\n'), 1)
        << "only the listing's head";

    // The class page in the language asked for.
    ASSERT_EQ(write(QStringLiteral("en.pdf"), {}, report::Language::American).status, 0);
    const QString american = pdfText(target + "en.pdf");
    EXPECT_TRUE(american.contains("All students — Multiplication"));
    EXPECT_TRUE(american.contains("Student"));
    EXPECT_TRUE(american.contains("Anna — Умножение")) << "a pupil's pages stay in their language";
}

TEST_F(Report, TheHtmlIsOneFileWithItsPicturesInside) {
    ASSERT_EQ(write(QStringLiteral("all.html")).status, 0);
    const QString html = QString::fromUtf8(readFile(target + "all.html"));
    EXPECT_TRUE(html.contains(kBoris.toHtmlEscaped() + " — Multiplication"));
    EXPECT_FALSE(html.contains("<i>")) << "a name's markup went into the page";
    EXPECT_FALSE(html.contains("http:"));
    EXPECT_FALSE(html.contains("https:"));
    EXPECT_FALSE(html.contains("url("));
    const QRegularExpression source(QStringLiteral("(src|href)\\s*=\\s*\"([^\"]*)\""));
    int pictures = 0;
    for (const auto& match : source.globalMatch(html)) {
        EXPECT_TRUE(match.captured(2).startsWith("data:image/png;base64,"))
            << match.captured(0).left(80).toStdString();
        ++pictures;
    }
    // Per pupil and operation the table; per operation the class's table.
    EXPECT_EQ(pictures, 3 * 2 + 2);
}

// A pupil who chose the high-contrast look gets their pages in it; the others keep the printed
// colours, unless the report is asked for in high contrast.
TEST_F(Report, ThePagesFollowThePupilsLook) {
    const QString printedBand = QStringLiteral("#cfe6ff");
    const QString highContrastBand = QColor(ui::palette(ui::Look::HighContrast).bands[1]).name();
    ASSERT_EQ(write(QStringLiteral("plain.html")).status, 0);
    const QString plain = QString::fromUtf8(readFile(target + "plain.html"));
    EXPECT_TRUE(plain.contains(printedBand));
    EXPECT_FALSE(plain.contains(highContrastBand));

    for (const pupils::Pupil& p : roster.pupils()) {
        if (p.name == kBoris) {
            ASSERT_FALSE(persistence::writeLookFile(roster.folderOf(p), ui::Look::HighContrast));
        }
    }
    ASSERT_EQ(write(QStringLiteral("boris.html")).status, 0);
    const QString boris = QString::fromUtf8(readFile(target + "boris.html"));
    const qsizetype borisStarts = boris.indexOf(kBoris.toHtmlEscaped() + " — Multiplication");
    ASSERT_GE(borisStarts, 0);
    EXPECT_TRUE(boris.indexOf(highContrastBand, borisStarts) > borisStarts);
    EXPECT_TRUE(boris.left(borisStarts).contains(printedBand));
    EXPECT_EQ(ui::currentLook(), ui::Look::Default) << "the report left its look behind";

    ASSERT_EQ(write(QStringLiteral("all.html"), {}, std::nullopt, true).status, 0);
    const QString all = QString::fromUtf8(readFile(target + "all.html"));
    EXPECT_FALSE(all.contains(printedBand));
    EXPECT_TRUE(all.contains(highContrastBand));
}

TEST_F(Report, ADamagedFileIsNamedAndSkippedAndNothingReadIsChanged) {
    QString boris;
    QString chloe;
    for (const pupils::Pupil& p : roster.pupils()) {
        if (p.name == kBoris) {
            boris = roster.folderOf(p);
        } else if (p.name == kChloe) {
            chloe = roster.folderOf(p);
        }
    }
    ASSERT_FALSE(boris.isEmpty() || chloe.isEmpty());
    QFile save(persistence::progressFilePath(boris));
    ASSERT_TRUE(save.resize(100));
    QFile log(persistence::errorFilePath(chloe, 3));
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write("12345");
    log.close();
    const auto before = filesUnder(dataFolder());

    const report::Outcome csv = write(QStringLiteral("all.csv"));
    ASSERT_EQ(csv.status, 0) << csv.error.toStdString();
    EXPECT_EQ(csv.skipped.size(), 2);
    EXPECT_TRUE(csv.skipped.join('\n').contains(
        QDir::toNativeSeparators(persistence::progressFilePath(boris))));
    std::map<QString, std::vector<QStringList>> rows;  // by pupil and operation
    for (const QStringList& row : readCsv(target + "all.csv")) {
        rows[row[0] + "," + row[1]].push_back(row);
    }
    EXPECT_EQ(rows["Anna,division"].size(), 80u);
    EXPECT_EQ(rows["'" + kChloe + ",multiplication"].size(), 80u);
    // A row that names what was left out and why: the whole of Boris, and Chloe's division,
    // whose damaged log would understate the rates.
    const QString folder = dataFolder().chopped(1);
    ASSERT_EQ(rows[kBoris + ","].size(), 1u);
    EXPECT_TRUE(rows[kBoris + ","][0][10].startsWith(
        QDir::toNativeSeparators(persistence::progressFilePath(boris))));
    EXPECT_EQ(rows[kBoris + ","][0][9], folder);
    EXPECT_EQ(rows.count(kBoris + ",multiplication"), 0u);
    ASSERT_EQ(rows["'" + kChloe + ",division"].size(), 1u);
    EXPECT_TRUE(rows["'" + kChloe + ",division"][0][10].startsWith(
        QDir::toNativeSeparators(persistence::errorFilePath(chloe, 3))));

    ASSERT_EQ(write(QStringLiteral("all.pdf")).status, 0);
    const QString text = pdfText(target + "all.pdf").simplified();
    EXPECT_TRUE(text.contains("Не удалось прочитать"));
    EXPECT_TRUE(
        text.contains(kBoris + ": " +
                      QDir::toNativeSeparators(persistence::progressFilePath(boris)).simplified()))
        << text.toStdString();
    EXPECT_TRUE(text.contains(kChloe + " — Multiplication"));
    EXPECT_TRUE(text.contains("Все ученики — Деление"));

    ASSERT_EQ(write(QStringLiteral("all.html")).status, 0);
    EXPECT_EQ(filesUnder(dataFolder()), before) << "the report changed the folder it read";
}

TEST_F(Report, AskedPupilsOnlyInTheFoldersOrder) {
    ASSERT_EQ(
        write(QStringLiteral("two.csv"), {" " + kChloe.toLower() + " ", kBoris.toUpper()}).status,
        0);
    QStringList names;
    const std::vector<QStringList> rows = readCsv(target + "two.csv");
    for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
        if (!names.contains(row->front())) {
            names << row->front();
        }
    }
    EXPECT_EQ(names, QStringList({"'" + kChloe, kBoris})) << "the roster's order, by name";
}

TEST_F(Report, AFailureIsExplainedAndLeavesTheTargetAsItWas) {
    const QString existing = target + "kept.pdf";
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier report");
    }
    const auto before = filesUnder(dataFolder());
    struct Case {
        const char* what;
        QString target;
        QStringList folders;
        QStringList pupils;
        const char* message;
    };
    const QString missing = folder_.path() + "/nowhere/";
    const std::vector<Case> cases{
        {"missing folder", existing, {missing}, {}, "does not exist"},
        {"unknown pupil", existing, {dataFolder()}, {"Dora"}, "Dora"},
        {"unknown format", target + "report.txt", {dataFolder()}, {}, ".pdf, .html or .csv"},
        {"unwritable target", missing + "report.pdf", {dataFolder()}, {}, "cannot be written"},
        {"target in a data folder",
         dataFolder() + "report.csv",
         {dataFolder()},
         {},
         "folder it reads"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        report::Request request;
        request.target = c.target;
        request.dataFolders = c.folders;
        request.pupils = c.pupils;
        request.firstPupilName = "Anna";
        request.moment = kStartMoment;
        const report::Outcome outcome = report::writeReport(request);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.error.contains(c.message)) << outcome.error.toStdString();
        EXPECT_EQ(readFile(existing), "earlier report");
        EXPECT_FALSE(QFile::exists(target + "report.txt"));
    }
    EXPECT_EQ(QDir(target).entryList(QDir::Files), QStringList({"kept.pdf"}))
        << "a temporary file was left beside the target";
    EXPECT_EQ(filesUnder(dataFolder()), before);
}

// A target that is a symbolic link is judged where the write would go: never into a folder the
// report reads, never over a pipe or device, and over a regular file as for any target.
TEST_F(Report, ALinkedTargetIsJudgedWhereItLeads) {
    const QString save = persistence::progressFilePath(roster.folderOf(roster.pupils()[1]));
    const QString pipe = target + "pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const auto before = filesUnder(dataFolder());
    struct Case {
        const char* link;
        QString leadsTo;
        const char* message;
    };
    const std::vector<Case> cases{
        {"save.csv", save, "folder it reads"},
        {"new.csv", dataFolder() + "new.csv", "folder it reads"},
        {"pipe.csv", pipe, "not a file"},
        {"loop.csv", target + "loop.csv", "not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        ASSERT_TRUE(QFile::link(c.leadsTo, target + c.link));
        const report::Outcome outcome = write(QLatin1String(c.link));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.error.contains(c.message)) << outcome.error.toStdString();
    }
    EXPECT_EQ(filesUnder(dataFolder()), before);
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced";

    // A link to a regular file elsewhere: the file gets the report, the link stays a link.
    {
        QFile earlier(target + "elsewhere.csv");
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
    }
    ASSERT_TRUE(QFile::link(target + "elsewhere.csv", target + "linked.csv"));
    ASSERT_EQ(write(QStringLiteral("linked.csv")).status, 0);
    EXPECT_TRUE(QFileInfo(target + "linked.csv").isSymLink());
    EXPECT_TRUE(readFile(target + "elsewhere.csv").contains("multiplication"));
}

// A teacher's folder that holds the data folders copied from several computers: each is read, once
// however often it is given, and pupils of the same name are told apart by their folder.
TEST_F(Report, AFolderOfDataFoldersTakesEachOnceAndTellsSameNamesApart) {
    const QString usb = folder_.path() + "/usb/";
    QDir().mkpath(usb);
    for (const char* computer : {"pc1", "pc2"}) {
        ASSERT_EQ(QProcess::execute("cp", {"-r", dataFolder(), usb + computer}), 0);
    }
    QDir().mkpath(usb + "empty");
    report::Request request;
    request.dataFolders = {usb, usb + "pc1/", usb + "./pc2/"};
    request.foldersOfOthers = true;
    request.moment = kStartMoment;
    request.target = target + "usb.csv";
    ASSERT_EQ(report::writeReport(request).status, 0);
    std::map<QString, int> rowsOf;  // by pupil and folder
    for (const QStringList& row : readCsv(target + "usb.csv")) {
        rowsOf[row[0] + "|" + row[9]] += row[2] == "2" && row[3] == "1";
    }
    const std::map<QString, int> expected{
        {"pupil|folder", 0},
        {"pc1|" + usb + "pc1", 2},  // a first pupil without a name is called after the folder
        {"pc2|" + usb + "pc2", 2},
        {kBoris + "|" + usb + "pc1", 2},
        {kBoris + "|" + usb + "pc2", 2},
        {"'" + kChloe + "|" + usb + "pc1", 2},
        {"'" + kChloe + "|" + usb + "pc2", 2},
    };
    EXPECT_EQ(rowsOf, expected) << "each folder once, each pupil with their own";

    request.target = target + "usb.pdf";
    ASSERT_EQ(report::writeReport(request).status, 0);
    const QString text = pdfText(target + "usb.pdf");
    for (const QString& heading :
         {kBoris + " (pc1) — Multiplication", kBoris + " (pc2) — Multiplication",
          QStringLiteral("pc1 — Умножение"), QStringLiteral("Класс — Умножение")}) {
        EXPECT_TRUE(text.simplified().contains(heading)) << heading.toStdString();
    }
    EXPECT_TRUE(
        QRegularExpression("^\\s*" + QRegularExpression::escape(kBoris + " (pc2)") + "\\s+\\d",
                           QRegularExpression::MultilineOption)
            .match(text)
            .hasMatch())
        << "the class table names the folder too";

    // A folder with no pupils' data in it, or a file, is a mistake that says what to give.
    const struct {
        QString folder;
        const char* message;
    } mistakes[] = {{usb + "empty/", "holds no pupils' data"},
                    {persistence::progressFilePath(dataFolder()), "is a file, not a folder"}};
    for (const auto& mistake : mistakes) {
        request.dataFolders = {mistake.folder};
        const report::Outcome outcome = report::writeReport(request);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.error.contains(mistake.message)) << outcome.error.toStdString();
    }
}

// A pupil written straight to the files, with a known table: in multiplication each number's row
// holds, from factor 2 on, two exercises of each band from best to worst and one never answered;
// in division a crafted log holds far more errors than answers.
void writeKnownPupil(const QString& folder) {
    persistence::ProgressRecord record;
    record.LanguageCode = kLanguageCodeBritish;
    std::vector<Terror> multiplying;
    const int wrongOf100[] = {0, 0, 8, 8, 15, 15, 40, 40};  // factors 2..9; 10 not answered
    for (int i = 2; i <= 9; ++i) {
        for (int j = 2; j <= 9; ++j) {
            record.ExerciseCount[2][i][j] = 100;
            if (wrongOf100[j - 2] > 0) {
                Terror error;
                error.z1 = static_cast<std::uint8_t>(i);
                error.Z2 = static_cast<std::uint8_t>(j);
                error.res = static_cast<std::uint8_t>(i * j + 1);
                error.error = static_cast<float>(wrongOf100[j - 2]);
                multiplying.push_back(error);
            }
        }
    }
    record.ExerciseCount[3][7][8] = 5;
    Terror crafted;
    crafted.z1 = 7;
    crafted.Z2 = 8;
    crafted.res = 9;
    crafted.error = 3.9321e6f;
    const auto bytesOf = [](const auto& encoded) {
        return QByteArray(reinterpret_cast<const char*>(encoded.data()),
                          static_cast<qsizetype>(encoded.size()));
    };
    const auto logOf = [&](const std::vector<Terror>& errors) {
        QByteArray bytes;
        for (const Terror& error : errors) {
            bytes += bytesOf(persistence::encode(error));
        }
        return bytes;
    };
    ASSERT_FALSE(persistence::writeFileAtomically(persistence::progressFilePath(folder),
                                                  bytesOf(persistence::encode(record))));
    ASSERT_FALSE(persistence::writeFileAtomically(persistence::errorFilePath(folder, 2),
                                                  logOf(multiplying)));
    ASSERT_FALSE(
        persistence::writeFileAtomically(persistence::errorFilePath(folder, 3), logOf({crafted})));
}

// The grey levels of the long runs of one colour along each row of a page rendered in grey.
std::vector<std::vector<int>> greyRuns(const QString& pdf, int minimum, int maximum) {
    QProcess render;
    render.start("pdftoppm", {"-gray", "-r", "100", "-f", "1", "-l", "1", pdf});
    EXPECT_TRUE(render.waitForFinished(30000));
    const QByteArray pgm = render.readAllStandardOutput();
    // P5 <width> <height> 255 <pixels>
    const QList<QByteArray> head = pgm.left(64).simplified().split(' ');
    EXPECT_TRUE(head.size() >= 4 && head[0] == "P5");
    if (head.size() < 4) {
        return {};
    }
    const int width = head[1].toInt();
    const int height = head[2].toInt();
    const qsizetype start = pgm.size() - qsizetype{width} * height;
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < height; ++y) {
        const auto* line =
            reinterpret_cast<const unsigned char*>(pgm.constData() + start) + qsizetype{y} * width;
        std::vector<int> runs;
        for (int x = 0; x < width;) {
            int end = x;
            while (end < width && std::abs(line[end] - line[x]) <= 2) {
                ++end;
            }
            if (end - x >= minimum && end - x <= maximum) {
                runs.push_back(line[x]);
            }
            x = end;
        }
        rows.push_back(runs);
    }
    return rows;
}

// Printed in black and white, a table's five bands stay apart and in order, worse darker, and
// each cell says its rate; a crafted file shows no rate above 100 % and no count in e-notation.
TEST(ReportOfAKnownPupil, ReadsInGreyAndKeepsCraftedFiguresSensible) {
    QTemporaryDir folder;
    const QString data = folder.path() + "/data/";
    QDir().mkpath(data);
    writeKnownPupil(data);
    report::Request request;
    request.dataFolders = {data};
    request.firstPupilName = "Zoe";
    request.moment = 46000;
    request.target = folder.path() + "/zoe.pdf";
    ASSERT_EQ(report::writeReport(request).status, 0);

    // A row of the table: the operand's cell, then the exercises' cells (a cell at 100 dots per
    // inch is about 39 pixels wide). Of the lines through a row, the one inside the cells (not
    // through their blended edges nor their numbers) is the lightest.
    std::vector<int> row;
    for (const std::vector<int>& runs : greyRuns(request.target, 25, 45)) {
        if (runs.size() == 10 && (row.empty() || runs[1] + runs[9] > row[1] + row[9])) {
            row = runs;
        }
    }
    ASSERT_EQ(row.size(), 10u) << "no row of ten cells on the first page";
    SCOPED_TRACE(::testing::PrintToString(row));
    const int best = row[1];
    const int good = row[3];
    const int weak = row[5];
    const int worst = row[7];
    const int notAnswered = row[9];
    EXPECT_NEAR(row[2], best, 2);
    EXPECT_NEAR(row[4], good, 2);
    EXPECT_NEAR(row[6], weak, 2);
    EXPECT_NEAR(row[8], worst, 2);
    EXPECT_GT(notAnswered - best, 15);
    EXPECT_GT(best - good, 15);
    EXPECT_GT(good - weak, 15);
    EXPECT_GT(weak - worst, 15);

    const QString text = pdfText(request.target);
    // The table as text: a row's number, then each exercise with its rate.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("2\\s*x\\s+2\\s+0%\\s+3\\s+0%\\s+4\\s+8%"))
                    .match(text)
                    .hasMatch())
        << text.left(1000).toStdString();
    EXPECT_TRUE(text.contains("under 5 %"));
    EXPECT_FALSE(text.contains("e+"));
    EXPECT_FALSE(text.contains("inf"));
    // The rates of the text (the table's cells write theirs without a space).
    const QRegularExpression percent(QStringLiteral("([0-9][0-9,]*) %"));
    for (const auto& match : percent.globalMatch(text)) {
        EXPECT_LE(match.captured(1).remove(',').toLongLong(), 100)
            << match.captured(0).toStdString();
    }

    request.target = folder.path() + "/zoe.csv";
    ASSERT_EQ(report::writeReport(request).status, 0);
    bool crafted = false;
    for (const QStringList& row : readCsv(request.target)) {
        if (row[1] == "division" && row[2] == "7" && row[3] == "8") {
            crafted = true;
            EXPECT_EQ(row[5], "3932100");
            EXPECT_EQ(row[6], "100");
        }
    }
    EXPECT_TRUE(crafted);
}

// A class longer than a page: the head of its table on each page the table runs over, every pupil's
// row once, and a name too long for its column broken there instead of running over the others.
TEST(ReportOfAClass, ALongTableRepeatsItsHeadAndBreaksALongName) {
    QTemporaryDir folder;
    const QString stick = folder.path() + "/stick/";
    const QString longName =
        "room 7 of the old building by the river, the computer at the window near the door "
        "that opens onto the yard";
    QStringList names;
    for (int i = 1; i <= 50; ++i) {
        names << (i == 7 ? longName : QStringLiteral("pc%1").arg(i, 2, 10, QLatin1Char('0')));
        QDir().mkpath(stick + names.back());
        writeKnownPupil(stick + names.back() + "/");
    }
    report::Request request;
    request.dataFolders = {stick};
    request.foldersOfOthers = true;
    request.language = report::Language::British;
    request.moment = 46000;
    request.target = folder.path() + "/class.pdf";
    ASSERT_EQ(report::writeReport(request).status, 0);

    const QRegularExpression head(
        QStringLiteral("^\\s*Pupil\\s+All\\s+2\\s+3\\s+4\\s+5\\s+6\\s+7\\s+"
                       "8\\s+9\\s+Answers\\s*$"),
        QRegularExpression::MultilineOption);
    // Each pupil answered 6400 multiplications.
    const QRegularExpression row(QStringLiteral("^\\s*(\\S.*\\S)\\s+6400\\s*$"),
                                 QRegularExpression::MultilineOption);
    QStringList rows;
    QString words;
    for (int page : {1, 2}) {
        const QString text = pdfText(request.target, page);
        EXPECT_TRUE(head.match(text).hasMatch()) << "page " << page << "\n" << text.toStdString();
        for (const auto& match : row.globalMatch(text)) {
            rows << match.captured(1);
        }
        words += text.simplified() + " ";
    }
    ASSERT_EQ(rows.size(), 50) << rows.join('\n').toStdString();
    for (const QString& name : names) {
        if (name != longName) {
            EXPECT_EQ(rows.count(name), 1) << name.toStdString();
        }
    }
    EXPECT_EQ(rows.filter(QStringLiteral("room 7")).size(), 1);
    EXPECT_FALSE(words.contains(longName)) << "the long name ran over the other columns";
    for (const QString& word : longName.split(' ')) {
        EXPECT_TRUE(words.contains(word)) << word.toStdString();
    }
}

}  // namespace
