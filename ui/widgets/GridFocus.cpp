#include "ui/widgets/GridFocus.h"

#include <algorithm>
#include <cmath>

namespace widgets {

GridCell movedCell(GridCell from, int columnStep, int rowStep, int columns, int rows) {
    return {std::clamp(from.column + columnStep, 1, columns),
            std::clamp(from.row + rowStep, 1, rows)};
}

QString withTypedDigit(const QString& typed, QChar digit, int largest) {
    const QString longer = typed + digit;
    const int number = longer.toInt();
    if (number >= 1 && number <= largest) {
        return longer;
    }
    return QString(digit);
}

std::optional<GridCell> cellOfNumber(int number, int columns, int largest) {
    if (number < 1 || number > largest) {
        return std::nullopt;
    }
    return GridCell{(number - 1) % columns + 1, (number - 1) / columns + 1};
}

int wholeStep(int hundredths, int direction) {
    constexpr int kWhole = 100;
    const int below = static_cast<int>(std::floor(hundredths / double(kWhole))) * kWhole;
    if (direction > 0) {
        return below + kWhole;
    }
    return below == hundredths ? below - kWhole : below;
}

}  // namespace widgets
