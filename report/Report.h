#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "report/ReportTexts.h"

namespace report {

// What a report is made of and where it goes. The format follows the target's extension:
// .pdf, .html (one file, its pictures inside) or .csv.
struct Request {
    QString target;
    QStringList dataFolders;           // each ends in a separator; read, never written
    QStringList pupils;                // the names asked for; empty: every pupil of the folders
    std::optional<Language> language;  // of the class page; else the first pupil's
    QString firstPupilName;            // the name of a folder's first pupil; empty: the account's
    bool foldersOfOthers = false;      // a first pupil with no name is called after their folder
    double moment = 0;                 // the report's day, in days since 1899-12-30
    bool highContrast = false;         // every page in the high-contrast look, not only the
                                       // pages of pupils who chose it
};

struct Outcome {
    int status = 0;
    QString error;        // why no report was written
    QStringList skipped;  // the files that could not be read, one a line, named in the report
};

// Reads the pupils' files in place and writes the report, whole or not at all.
Outcome writeReport(const Request& request);

// The target a report is written to when none is given: "<folder>/<title> <date>.pdf", or with
// " (2)", " (3)" ... before ".pdf" when that file is there already.
QString datedReportName(const QString& folder, Language language, double moment);

}  // namespace report
