#include "ui/Clock.h"

#include <cmath>

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace ui {

namespace {
const QDate kEpoch(1899, 12, 30);
}

QString Clock::shortDate(double moment) const {
    // A moment read from a damaged file may be no number or lie beyond any calendar.
    constexpr double kFarthestDay = 3e6;
    if (!(std::abs(moment) < kFarthestDay)) {
        return {};
    }
    const QDate date = kEpoch.addDays(static_cast<qint64>(std::floor(moment)));
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

double SystemClock::now() {
    const QDateTime local = QDateTime::currentDateTime();
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    return days + local.time().msecsSinceStartOfDay() / 86400000.0;
}

}  // namespace ui
