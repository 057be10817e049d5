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

// The CSV's figures: whole numbers, rates from 0 to 100. Read byte by byte, without a string made
// per field: the report's own lines cost less. The separators and quotes are ASCII, which no byte
// of a longer UTF-8 character is.
void checkCsv(const QByteArray& bytes) {
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        fuzz::fail(QStringLiteral("the CSV has no byte-order mark"));
    }
    // pupil, operation, number, factor, answers, errors, error rate %, rate mark, latest mark,
    // folder, unreadable
    constexpr int kFields = 11;
    constexpr int kAnswers = 4;
    constexpr int kRate = 6;
    constexpr int kLatestMark = 8;
    const qsizetype firstLineEnd = bytes.indexOf('\n');
    for (qsizetype at = firstLineEnd < 0 ? bytes.size() : firstLineEnd + 1; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0) {
            end = bytes.size();
        }
        const QByteArrayView line(bytes.constData() + at, end - at);
        at = end + 1;
        if (line.isEmpty()) {
            continue;
        }
        int field = 0;
        bool quoted = false;
        long long rate = 0;
        bool whole = true;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char c = line[i];
            char taken = c;  // the field's character, or none for a quote that opens or closes
            if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                ++i;
            } else if (c == '"') {
                quoted = !quoted;
                continue;
            } else if (c == ',' && !quoted) {
                ++field;
                continue;
            }
            if (field >= kAnswers && field <= kLatestMark) {
                if (taken < '0' || taken > '9') {
                    whole = false;
                } else if (field == kRate && rate <= 100) {
                    rate = rate * 10 + (taken - '0');
                }
            }
        }
        if (field + 1 != kFields) {
            fuzz::fail(QStringLiteral("a CSV line of %1 fields: %2")
                           .arg(field + 1)
                           .arg(QString::fromUtf8(line)));
        }
        if (!whole) {
            fuzz::fail(QStringLiteral("a CSV figure is not a whole number: %1")
                           .arg(QString::fromUtf8(line)));
        }
        if (rate > 100) {
            fuzz::fail(QStringLiteral("a rate above 100 %: %1").arg(QString::fromUtf8(line)));
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
