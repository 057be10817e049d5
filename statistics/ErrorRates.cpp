#include "statistics/ErrorRates.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace statistics {

namespace {

constexpr int kFirstNumber = 2;
constexpr int kLastNumber = 9;
constexpr int kFirstOperand = 1;
constexpr int kLastOperand = 10;

bool inTable(const Terror& record) {
    return record.z1 >= kFirstNumber && record.z1 <= kLastNumber && record.Z2 >= kFirstOperand &&
           record.Z2 <= kLastOperand;
}

// Puts a candidate in front of the first lighter entry, so that it goes behind entries of its own
// weight; a full list loses its last entry, and a candidate lighter than all ten is not taken.
void insertTypicalError(std::vector<Terror>& list, const Terror& candidate) {
    const auto lighter = std::find_if(list.begin(), list.end(), [&](const Terror& entry) {
        return entry.error < candidate.error;
    });
    if (lighter == list.end() && list.size() >= kTypicalErrorCount) {
        return;
    }
    list.insert(lighter, candidate);
    if (list.size() > kTypicalErrorCount) {
        list.pop_back();
    }
}

}  // namespace

bool isUsableWeight(float weight) {
    return std::isfinite(weight) && weight >= 0.0f;
}

ErrorSummary summariseErrors(const std::vector<Terror>& log, int count) {
    const auto elements = static_cast<long long>(log.size());
    if (count < 0 || (count > 0 && count >= elements)) {
        ui::throwRangeError(count, 0, std::max(elements - 1, 0LL));
    }
    ErrorSummary summary;
    summary.weights.fill({});
    std::vector<const Terror*> candidates;
    for (int k = 1; k <= count; ++k) {
        const Terror& record = log[static_cast<std::size_t>(k)];
        if (!inTable(record) || !isUsableWeight(record.error)) {
            continue;
        }
        summary.weights[record.z1][record.Z2] += record.error;
        if (record.error > 1.0f) {
            candidates.push_back(&record);
        }
    }
    // Candidates are met by number, then by second operand, then in log order.
    std::stable_sort(candidates.begin(), candidates.end(), [](const Terror* a, const Terror* b) {
        return a->z1 != b->z1 ? a->z1 < b->z1 : a->Z2 < b->Z2;
    });
    for (const Terror* candidate : candidates) {
        insertTypicalError(summary.typicalErrors, *candidate);
    }
    return summary;
}

NumberTotals numberTotals(const persistence::ExerciseCountTable& counts) {
    NumberTotals totals;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        int total = 0;
        for (int j = kFirstOperand; j <= kLastOperand; ++j) {
            total += counts[i][j];
        }
        totals[i] = total;
    }
    return totals;
}

std::uint8_t errorMark(float weight, std::uint16_t answers) {
    if (answers == 0) {
        return 0;
    }
    // A float weight times 100 and an edge's hundredths of the answers are both exact in double,
    // so these compare the rate itself with 0.05, 0.11 and 0.21 on every compiler.
    static_assert(std::numeric_limits<float>::digits + 7 <= std::numeric_limits<double>::digits,
                  "a float weight times 100 must be exact in double");
    const double hundredfold = static_cast<double>(weight) * 100;
    const auto hundredths = [answers](int edge) { return static_cast<double>(edge) * answers; };
    if (hundredfold < hundredths(5)) {
        return 1;
    }
    if (hundredfold < hundredths(11)) {
        return 2;
    }
    // A rate of exactly 0.21 stays below the edge: divided in extended precision and kept as a
    // double it lies just below the extended 0.21, while 0.05 and 0.11 lie just above theirs.
    if (hundredfold <= hundredths(21)) {
        return 3;
    }
    return 4;
}

void fillStatisticsBoard(game::Board& board, int operation,
                         const persistence::ExerciseCountTable& counts,
                         const WeightTable& weights) {
    const bool multiplication = operation == persistence::kMultiplication;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        game::BoardRow& row = board[i];
        for (int c = 1; c <= kLastOperand; ++c) {
            int value = 0;
            if (multiplication) {
                value = c == 1 ? i : c;
            } else {
                value = c == kLastOperand ? i : (c + 1) * i;
            }
            row[c] = game::BoardCell{static_cast<std::uint8_t>(value), 0};
        }
        for (int j = 2; j <= kLastOperand; ++j) {
            const int column = multiplication ? j : j - 1;
            row[column].Mark = errorMark(weights[i][j], counts[i][j]);
        }
    }
}

QString typicalErrorText(int operation, const Terror& error) {
    if (operation == persistence::kMultiplication) {
        return QStringLiteral("%1x%2=%3").arg(error.z1).arg(error.Z2).arg(error.res);
    }
    return QStringLiteral("%1:%2=%3").arg(error.z1 * error.Z2).arg(error.z1).arg(error.res);
}

}  // namespace statistics
