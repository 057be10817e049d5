// The progress report over an arbitrary data folder: the first pupil's files, the roster, and
// further pupils with files of their own. Whatever the folder holds, the report is written or
// refused with a reason, leaves the folder as it was, and says no rate above 100 % and no number
// in e-notation.
//
// Every input is reported as CSV, which gathers every figure the other formats show. HTML and PDF
// cost some ten and forty times as much under the sanitizers (pictures encoded as PNG, pages
// compressed): one input in 32 is reported as HTML too and one in 128 as PDF, chosen by a hash
// of the whole input, so that the same input always takes the same way and any mutation may
// reach them, however the corpus grows.
#include <QFileInfo>
#include <QRegularExpression>

#include "fuzz/FolderInput.h"
#include "fuzz/FuzzSupport.h"
#include "persistence/ProgressFiles.h"
#include "report/Report.h"

namespace {

constexpr std::uint32_t kHtmlEvery = 32;
constexpr std::uint32_t kPdfEvery = 128;

// FNV-1a over the input.
std::uint32_t hashOf(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return hash;
}

void writeFolder(const QString& folder, const fuzz::FolderInput& input) {
    for (const fuzz::FolderInput::File& file : input.files) {
        const QString relative = fuzz::FolderInput::pathOf(file.pupil, file.kind);
        for (qsizetype slash = relative.indexOf(QLatin1Char('/')); slash >= 0;
             slash = relative.indexOf(QLatin1Char('/'), slash + 1)) {
            fuzz::makeFolder(folder + relative.left(slash));
        }
        fuzz::writeFile(folder + relative, file.bytes);
    }
}

// Every file and folder under the folder with its bytes, to see that the report changed none.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    for (const fuzz::TreeEntry& entry : fuzz::treeOf(folder)) {
        contents.insert(entry.path,
                        entry.folder ? QByteArray("<dir>") : fuzz::readFile(entry.path));
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

// One report in one format over the folder: written whole and as the format says, or refused
// with a reason and no file left.
void writeAndCheck(const QString& folder, const QString& suffix) {
    // Beside the data folder, never inside it.
    const QString target =
        QFileInfo(folder + QStringLiteral("../report.")).absoluteFilePath() + suffix;
    QFile::remove(target);
    report::Request request;
    request.target = target;
    request.dataFolders = {folder};
    request.firstPupilName = QStringLiteral("Anna");
    request.moment = fuzz::kMoment;
    const report::Outcome outcome = report::writeReport(request);

    if (outcome.status != 0) {
        if (outcome.error.isEmpty()) {
            fuzz::fail(QStringLiteral("a report refused without a reason"));
        }
        if (QFileInfo::exists(target)) {
            fuzz::fail(QStringLiteral("a refused report left a file"));
        }
        return;
    }
    const QByteArray written = fuzz::readFile(target);
    if (written.isEmpty()) {
        fuzz::fail(QStringLiteral("an empty report"));
    }
    if (suffix == QLatin1String("csv")) {
        checkCsv(written);
    } else if (suffix == QLatin1String("html")) {
        checkHtml(written);
    } else if (!written.startsWith("%PDF-")) {
        fuzz::fail(QStringLiteral("the PDF does not begin as one"));
    }
    QFile::remove(target);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::FolderInput input = fuzz::FolderInput::parse(fuzz::bytesOf(data, size));
    const QString folder = fuzz::freshDataFolder();
    writeFolder(folder, input);
    const QMap<QString, QByteArray> before = contentsOf(folder);

    const std::uint32_t hash = hashOf(data, size);
    writeAndCheck(folder, QStringLiteral("csv"));
    if (hash % kHtmlEvery == 0) {
        writeAndCheck(folder, QStringLiteral("html"));
    }
    if (hash % kPdfEvery == 1) {
        writeAndCheck(folder, QStringLiteral("pdf"));
    }
    if (contentsOf(folder) != before) {
        fuzz::fail(QStringLiteral("the report changed the data folder"));
    }
    return 0;
}
