#include "trainer/Marks.h"

#include <cmath>

#include "ui/Look.h"

namespace trainer {

int runMark(std::int64_t answered, std::int32_t wrong, std::int32_t exercisesInRun) {
    if (exercisesInRun <= 0 || answered < wrong) {
        throw ui::RangeError(QStringLiteral("Invalid run: %1 exercises, %2 answered, %3 wrong")
                                 .arg(exercisesInRun)
                                 .arg(answered)
                                 .arg(wrong));
    }
    const double fifth = exercisesInRun / 5.0;
    int mark = static_cast<int>(std::trunc(static_cast<double>(answered - wrong) / fifth));
    if (wrong == 0) {
        mark = 5;
    } else if (mark == 5) {
        mark = 4;
    }
    if (mark == 0) {
        mark = 1;
    }
    return mark;
}

void appendMark(persistence::MarkRow& history, std::uint8_t& length, int mark) {
    const auto value = ui::checkedCast<std::uint8_t>(mark);
    if (length < 10) {
        ++length;
        history[length] = value;
        return;
    }
    for (int slot = 1; slot < 10; ++slot) {
        history[slot] = history[slot + 1];
    }
    history[10] = value;
}

bool markColour(int mark, QRgb& colour) {
    if (mark < 1 || mark > 5) {
        return false;
    }
    colour = ui::palette().marks[mark];
    return true;
}

double markBarTop(int mark, double top, double bottom) {
    if (!ui::palette().signs || mark < 1 || mark > 5) {
        return top;
    }
    // Where the look draws signs, a bar's height tells its mark too: a 5 is whole, a 1 a fifth.
    return bottom - (bottom - top) * mark / 5.0;
}

}  // namespace trainer
