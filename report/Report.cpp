#include "report/Report.h"

#include <cerrno>
#include <cmath>

#include <sys/stat.h>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "report/Document.h"
#include "report/Formats.h"

namespace report {

namespace {

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

// Where a write to the target really goes: its symbolic links followed to the end, also to a file
// not there yet. Empty when they go round in a circle.
QString realTarget(const QString& target) {
    constexpr int kDeepestLinks = 40;
    QString path = QFileInfo(target).absoluteFilePath();
    for (int depth = 0; depth < kDeepestLinks; ++depth) {
        const QFileInfo info(path);
        if (!info.isSymLink()) {
            return path;
        }
        path = info.symLinkTarget();
    }
    return {};
}

// True when nothing is at the path, or a regular file that a report may replace: never a device,
// a pipe or a folder.
bool replaceable(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode);
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
}  // namespace

QString datedReportName(const QString& folder, Language language, double moment) {
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(moment)));
    const QString stem = folder + QLatin1Char('/') + text(language, Text::Title) +
                         QLatin1Char(' ') + date.toString(Qt::ISODate);
    // A report of the same day is kept: the next one gets a number.
    QString name = stem + QStringLiteral(".pdf");
    for (int number = 2; QFileInfo(name).exists() || QFileInfo(name).isSymLink(); ++number) {
        name = stem + QStringLiteral(" (%1).pdf").arg(number);
    }
    return name;
}

Outcome writeReport(const Request& request) {
    Format format = Format::Pdf;
    if (!formatOf(request.target, format)) {
        return failure(QStringLiteral("Unknown report format %1: give a file ending in .pdf, "
                                      ".html or .csv.")
                           .arg(quoted(request.target)));
    }
    // A link is judged, and written, where it leads.
    const QString target = realTarget(request.target);
    if (target.isEmpty() || !replaceable(target)) {
        return failure(QStringLiteral("The report %1 would replace something that is not a "
                                      "file: give another place.")
                           .arg(quoted(request.target)));
    }
    if (insideDataFolder(target, request.dataFolders)) {
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
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(QStringLiteral("The report cannot be written to %1: %2.")
                           .arg(quoted(request.target), file.errorString()));
    }
    if (format == Format::Csv) {
        file.write(csv(collected));
    } else if (format == Format::Html) {
        file.write(htmlFile(request, collected));
    } else {
        writePdf(file, request, collected);
    }
    if (!file.commit()) {
        return failure(QStringLiteral("The report cannot be written to %1: %2.")
                           .arg(quoted(request.target), file.errorString()));
    }
    Outcome outcome;
    // Told on the command line: in the language asked for, else in the command line's English.
    const Language l = request.language.value_or(Language::British);
    for (const Skipped& s : collected.skipped) {
        outcome.skipped << text(l, Text::Unreadable) + QStringLiteral(": ") + skippedLine(l, s);
    }
    return outcome;
}

}  // namespace report