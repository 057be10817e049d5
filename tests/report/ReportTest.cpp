// The progress report over three pupils made through the form, in both operations and the three
// languages: its figures are the statistics screen's, it reads the folders without touching them,
// and every failure leaves the target as it was.
#include <map>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "persistence/ProgressFiles.h"
#include "report/Report.h"
#include "statistics/ErrorRates.h"
#include "tests/support/FilesUnder.h"
#include "tests/support/FormFixture.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a PDF as pdftotext lays it out.
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
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
        addPupil("Boris", 1);
        practise(5, 1, 4, 3);
        practise(8, 4, 4, 0);
        addPupil("Chloe", 2);
        practise(9, 0, 6, 2);
        form().FormClose();
        EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
        target = folder_.path() + QStringLiteral("/out/");
        QDir().mkpath(target);
    }

    void addPupil(const QString& name, int languageItem) {
        prompt.answers.push_back(name);
        TForm3& f = form();
        f.dispatch(
            [&f] { f.PupilBox.setItemIndex(static_cast<int>(f.PupilBox.items().size()) - 1); });
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
                          std::optional<report::Language> language = std::nullopt) {
        report::Request request;
        request.target = target + name;
        request.dataFolders = {dataFolder()};
        request.pupils = std::move(pupils);
        request.language = language;
        request.firstPupilName = QStringLiteral("Anna");
        request.moment = kStartMoment;
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
    const QStringList lines =
        QString::fromUtf8(readFile(target + "all.csv")).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(),
              "pupil,operation,number,factor,answers,errors,error rate,rate mark,latest mark");
    std::map<QString, QStringList> rows;  // by pupil, operation, number and factor
    for (const QString& line : lines.mid(1)) {
        const QStringList fields = line.split(',');
        ASSERT_EQ(fields.size(), 9) << line.toStdString();
        rows[fields.mid(0, 4).join(',')] = fields;
    }
    EXPECT_EQ(rows.size(), 3u * 2 * 8 * 10) << "a row per pupil, operation and exercise";

    int errorsSeen = 0;
    for (const QString name : {"Anna", "Boris", "Chloe"}) {
        auto screen = screenOf(name);
        ASSERT_TRUE(screen);
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
                            .arg(name, operation == 2 ? "multiplication" : "division")
                            .arg(i)
                            .arg(j);
                    ASSERT_TRUE(rows.count(key)) << key.toStdString();
                    const QStringList& row = rows[key];
                    EXPECT_EQ(row[4].toInt(), counts[i][j]) << key.toStdString();
                    EXPECT_FLOAT_EQ(row[5].toFloat(), errors.weights[i][j]) << key.toStdString();
                    errorsSeen += row[5].toFloat() > 0;
                    if (counts[i][j] > 0) {
                        EXPECT_NEAR(row[6].toDouble(), errors.weights[i][j] / counts[i][j], 1e-5);
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
        }
    }
    EXPECT_GE(errorsSeen, 5) << "the fixture holds too few errors to tell anything";
}

TEST_F(Report, ThePdfHoldsEveryPupilTheirMarksAndTheClassPage) {
    const report::Outcome outcome = write(QStringLiteral("all.pdf"));
    ASSERT_EQ(outcome.status, 0) << outcome.error.toStdString();
    EXPECT_TRUE(readFile(target + "all.pdf").startsWith("%PDF"));
    const QString text = pdfText(target + "all.pdf");
    // The class page in the first pupil's language, each pupil's pages in their own.
    for (const char* expected :
         {"Отчёт об успехах", "Класс — Умножение", "Класс — Деление", "Anna — Умножение",
          "Anna — Деление", "Boris — Multiplication", "Boris — Division", "Chloe — Division",
          "Practise next", "Practice next", "Last grades", "Последние оценки"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    // Chloe answered multiplication without a mistake: no error rates to practise there, and
    // her marks row shows the 5 of number 9.
    for (const QString name : {"Anna", "Boris", "Chloe"}) {
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
            const QRegularExpression classRow(QStringLiteral("^\\s*%1\\s+%2\\s+%3\\s*$")
                                                  .arg(name, marks.join(QStringLiteral("\\s+")))
                                                  .arg(answers),
                                              QRegularExpression::MultilineOption);
            EXPECT_TRUE(classRow.match(text).hasMatch())
                << name.toStdString() << " operation " << operation << ": "
                << classRow.pattern().toStdString() << "\n"
                << text.toStdString();
        }
    }

    // The statistics tables are in it as pictures: per pupil and operation, and the class's two.
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), target + "all.pdf"});
    ASSERT_TRUE(images.waitForFinished(30000));
    int tables = 0;
    for (const QString& line : QString::fromUtf8(images.readAllStandardOutput()).split('\n')) {
        const QStringList fields = line.simplified().split(' ');
        tables += fields.size() > 4 && fields[2] == "image" && fields[3].toInt() > 500;
    }
    EXPECT_EQ(tables, 3 * 2 + 2);

    // The class page in the language asked for.
    ASSERT_EQ(write(QStringLiteral("en.pdf"), {}, report::Language::American).status, 0);
    const QString american = pdfText(target + "en.pdf");
    EXPECT_TRUE(american.contains("Class — Multiplication"));
    EXPECT_TRUE(american.contains("Student"));
    EXPECT_TRUE(american.contains("Anna — Умножение")) << "a pupil's pages stay in their language";
}

TEST_F(Report, TheHtmlIsOneFileWithItsPicturesInside) {
    ASSERT_EQ(write(QStringLiteral("all.html")).status, 0);
    const QString html = QString::fromUtf8(readFile(target + "all.html"));
    EXPECT_TRUE(html.contains("Boris — Multiplication"));
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
    // Per pupil and operation the table and nine rows of bars; per operation the class's table.
    EXPECT_EQ(pictures, 3 * 2 * 10 + 2);
}

TEST_F(Report, ADamagedFileIsNamedAndSkippedAndNothingReadIsChanged) {
    const QString boris = roster.folderOf(roster.pupils()[1]);
    const QString chloe = roster.folderOf(roster.pupils()[2]);
    ASSERT_EQ(roster.pupils()[1].name, "Boris");
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
    const QString table = QString::fromUtf8(readFile(target + "all.csv"));
    EXPECT_FALSE(table.contains("Boris,"));
    EXPECT_TRUE(table.contains("Anna,division,"));
    EXPECT_TRUE(table.contains("Chloe,multiplication,"));
    EXPECT_FALSE(table.contains("Chloe,division,"))
        << "a damaged error file would understate the rates";

    ASSERT_EQ(write(QStringLiteral("all.pdf")).status, 0);
    const QString text = pdfText(target + "all.pdf").simplified();
    EXPECT_TRUE(text.contains("Не удалось прочитать"));
    EXPECT_TRUE(text.contains(
        "Boris: " + QDir::toNativeSeparators(persistence::progressFilePath(boris)).simplified()))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Chloe — Multiplication"));
    EXPECT_TRUE(text.contains("Класс — Деление"));

    ASSERT_EQ(write(QStringLiteral("all.html")).status, 0);
    EXPECT_EQ(filesUnder(dataFolder()), before) << "the report changed the folder it read";
}

TEST_F(Report, AskedPupilsOnlyInTheFoldersOrder) {
    ASSERT_EQ(write(QStringLiteral("two.csv"), {" chloe ", "BORIS"}).status, 0);
    QStringList names;
    for (const QString& line : QString::fromUtf8(readFile(target + "two.csv")).split('\n').mid(1)) {
        const QString name = line.section(',', 0, 0);
        if (!name.isEmpty() && !names.contains(name)) {
            names << name;
        }
    }
    EXPECT_EQ(names, QStringList({"Boris", "Chloe"}));
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

}  // namespace
