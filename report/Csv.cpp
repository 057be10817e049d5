#include <cmath>
#include <initializer_list>

#include <QDir>

#include "report/Figures.h"
#include "report/Formats.h"
#include "statistics/ErrorRates.h"

namespace report {

namespace {

// A field as a spreadsheet takes it: quoted where it holds a separator, a quote or a line's end;
// and a field that a spreadsheet would take for a formula (one starting with =, +, -, @, a tab or
// a carriage return: a name can be anything) starts with a single quote, so that it stays text.
void appendField(QString& out, const QString& field) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    const bool formula = !field.isEmpty() && kFormulaStarts.contains(field.front());
    if (!formula && !field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r'))) {
        out += field;
        return;
    }
    out += QLatin1Char('"');
    if (formula) {
        out += QLatin1Char('\'');
    }
    for (const QChar c : field) {
        out += c;
        if (c == QLatin1Char('"')) {
            out += c;
        }
    }
    out += QLatin1Char('"');
}

QString operationName(int operation) {
    return operation == persistence::kMultiplication ? QStringLiteral("multiplication")
                                                     : QStringLiteral("division");
}

// Numbers are whole, without grouping or a decimal sign, so that a spreadsheet reads them as
// numbers in any language's settings.
QString wholeNumber(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', 0) : QString();
}

// The fields are appended where they stand: a report holds some ninety lines per pupil and
// operation, and a list of strings made and joined for each costs more than the figures.
void appendLine(QString& out, std::initializer_list<QString> fields) {
    bool first = true;
    for (const QString& field : fields) {
        if (!first) {
            out += QLatin1Char(',');
        }
        first = false;
        appendField(out, field);
    }
    out += QLatin1Char('\n');
}

}  // namespace

QByteArray csv(const Collected& collected) {
    QString out;
    // About what the lines take, so that the text is not copied again and again as it grows.
    qsizetype rows = 1 + static_cast<qsizetype>(collected.skipped.size());
    for (const PupilFigures& pupil : collected.pupils) {
        rows += 91 * static_cast<qsizetype>(pupil.operations.size());
    }
    out.reserve(rows * 64);
    appendLine(out, {QStringLiteral("pupil"), QStringLiteral("operation"), QStringLiteral("number"),
                     QStringLiteral("factor"), QStringLiteral("answers"), QStringLiteral("errors"),
                     QStringLiteral("error rate %"), QStringLiteral("rate mark"),
                     QStringLiteral("latest mark"), QStringLiteral("folder"),
                     QStringLiteral("unreadable")});
    for (const PupilFigures& pupil : collected.pupils) {
        for (const OperationFigures& f : pupil.operations) {
            if (!f.hasData()) {
                continue;
            }
            const QString operation = operationName(f.operation);
            // The marks of the runs over all numbers: a row of their own.
            const int latestOfAll = f.latestMark(1);
            if (latestOfAll > 0) {
                appendLine(out, {pupil.name,
                                 operation,
                                 QStringLiteral("all"),
                                 {},
                                 {},
                                 {},
                                 {},
                                 {},
                                 QString::number(latestOfAll),
                                 pupil.folder,
                                 {}});
            }
            for (int i = kFirstNumber; i <= kLastNumber; ++i) {
                const int latest = f.latestMark(i);
                for (int j = 1; j <= 10; ++j) {
                    const std::uint16_t answers = f.counts[i][j];
                    const float weight = f.errors.weights[i][j];
                    appendLine(out,
                               {pupil.name,
                                operation,
                                QString::number(i),
                                QString::number(j),
                                QString::number(answers),
                                wholeNumber(weight),
                                answers > 0 ? wholeNumber(ratePercent(weight, answers)) : QString(),
                                QString::number(statistics::errorMark(weight, answers)),
                                latest > 0 ? QString::number(latest) : QString(),
                                pupil.folder,
                                {}});
                }
            }
        }
    }
    // A pupil, or an operation of one, left out: a row that says why.
    for (const Skipped& s : collected.skipped) {
        const QString why =
            QDir::toNativeSeparators(s.path) + QStringLiteral(": ") +
            (s.reason.isEmpty() ? QStringLiteral("the file holds no whole record") : s.reason);
        appendLine(out, {s.pupil,
                         s.operation == 0 ? QString() : operationName(s.operation),
                         {},
                         {},
                         {},
                         {},
                         {},
                         {},
                         {},
                         s.folder,
                         why});
    }
    // A byte-order mark, without which spreadsheets take the file for the system's 8-bit code.
    return QByteArrayLiteral("\xEF\xBB\xBF") + out.toUtf8();
}

}  // namespace report
