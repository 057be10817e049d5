// The progress report over arbitrary progress files: whatever a data folder holds, the report is
// written or refused with a reason, leaves the folder as it was, and says no rate above 100 % and
// no number in e-notation.
//
// An input is a start-up input (a pupil's Save.dat and save2.dat); bits 2 and 3 of its first byte
// choose the format: CSV, HTML, PDF, CSV.
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "fuzz/FuzzSupport.h"
#include "fuzz/StartupInput.h"
#include "persistence/ProgressFiles.h"
#include "report/Report.h"

namespace {

QString formatSuffix(const QByteArray& bytes) {
    const int choice = bytes.isEmpty() ? 0 : (static_cast<unsigned char>(bytes[0]) >> 2) & 3;
    return choice == 1   ? QStringLiteral("html")
           : choice == 2 ? QStringLiteral("pdf")
                         : QStringLiteral("csv");
}

// Every file under the folder with its bytes, to see that the report changed none.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        contents.insert(entry.fileName(),
                        entry.isFile() ? fuzz::readFile(entry.filePath()) : QByteArray("<dir>"));
    }
    return contents;
}

// The fields of one CSV line, quotes taken off.
QStringList csvFields(const QString& line) {
    QStringList fields(1);
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == c) {
            fields.back() += c;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(',') && !quoted) {
            fields.append(QString());
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The CSV's figures: whole numbers, rates from 0 to 100.
void checkCsv(const QByteArray& bytes) {
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        fuzz::fail(QStringLiteral("the CSV has no byte-order mark"));
    }
    static const QRegularExpression whole(QStringLiteral("^[0-9]*$"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QLatin1Char('\n'));
    // pupil, operation, number, factor, answers, errors, error rate %, rate mark, latest mark,
    // folder, unreadable
    constexpr qsizetype kAnswers = 4;
    constexpr qsizetype kRate = 6;
    constexpr qsizetype kLatestMark = 8;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) {
            continue;
        }
        const QStringList fields = csvFields(lines[i]);
        if (fields.size() != 11) {
            fuzz::fail(
                QStringLiteral("a CSV line of %1 fields: %2").arg(fields.size()).arg(lines[i]));
        }
        for (qsizetype f = kAnswers; f <= kLatestMark; ++f) {
            if (!whole.match(fields[f]).hasMatch()) {
                fuzz::fail(QStringLiteral("a CSV figure is not a whole number: %1").arg(lines[i]));
            }
        }
        if (!fields[kRate].isEmpty() && fields[kRate].toLongLong() > 100) {
            fuzz::fail(QStringLiteral("a rate above 100 %: %1").arg(lines[i]));
        }
    }
}

// The HTML's percentages are at most 100, and no number is in e-notation.
void checkHtml(const QByteArray& bytes) {
    const QString html = QString::fromUtf8(bytes);
    static const QRegularExpression percent(QStringLiteral("(\\d[\\d\\x{00A0}\\x{202F} ,]*)\\s?%"));
    for (auto it = percent.globalMatch(html); it.hasNext();) {
        QString digits = it.next().captured(1);
        digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
        if (digits.size() > 3 || digits.toInt() > 100) {
            fuzz::fail(QStringLiteral("a rate above 100 %: %1").arg(digits));
        }
    }
    static const QRegularExpression exponent(QStringLiteral(">[^<]*\\d[eE][+-]\\d+[^<]*<"));
    if (const auto match = exponent.match(html); match.hasMatch()) {
        fuzz::fail(QStringLiteral("a number in e-notation: %1").arg(match.captured(0)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const fuzz::StartupInput input = fuzz::StartupInput::parse(bytes);
    const QString folder = fuzz::freshDataFolder();
    if (input.saveDat) {
        fuzz::writeFile(persistence::progressFilePath(folder), *input.saveDat);
    }
    if (input.errorFile) {
        fuzz::writeFile(persistence::errorFilePath(folder, persistence::kMultiplication),
                        *input.errorFile);
    }
    const QMap<QString, QByteArray> before = contentsOf(folder);

    // Beside the data folder, never inside it.
    const QString target =
        QFileInfo(folder + QStringLiteral("../report.")).absoluteFilePath() + formatSuffix(bytes);
    QFile::remove(target);
    report::Request request;
    request.target = target;
    request.dataFolders = {folder};
    request.firstPupilName = QStringLiteral("Anna");
    request.moment = fuzz::kMoment;
    const report::Outcome outcome = report::writeReport(request);

    if (contentsOf(folder) != before) {
        fuzz::fail(QStringLiteral("the report changed the data folder"));
    }
    if (outcome.status != 0) {
        if (outcome.error.isEmpty()) {
            fuzz::fail(QStringLiteral("a report refused without a reason"));
        }
        if (QFileInfo::exists(target)) {
            fuzz::fail(QStringLiteral("a refused report left a file"));
        }
        return 0;
    }
    const QByteArray written = fuzz::readFile(target);
    if (written.isEmpty()) {
        fuzz::fail(QStringLiteral("an empty report"));
    }
    if (target.endsWith(QLatin1String(".csv"))) {
        checkCsv(written);
    } else if (target.endsWith(QLatin1String(".html"))) {
        checkHtml(written);
    } else if (!written.startsWith("%PDF-")) {
        fuzz::fail(QStringLiteral("the PDF does not begin as one"));
    }
    return 0;
}
