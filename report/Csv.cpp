#include "report/Figures.h"
#include "report/Formats.h"

namespace report {

namespace {

QString csvField(const QString& field) {
    if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
        QString doubled = field;
        doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + doubled + QLatin1Char('"');
    }
    return field;
}

}  // namespace

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

}  // namespace report
