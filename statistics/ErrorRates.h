#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "game/Board.h"
#include "persistence/ProgressRecord.h"
#include "ui/Checked.h"

namespace statistics {

using persistence::Terror;

// The table's numbers 2..9 by second operands 1..10.
using WeightTable = ui::CheckedArray<ui::CheckedArray<float, 1, 10>, 2, 9>;
using NumberTotals = ui::CheckedArray<int, 2, 9>;

constexpr std::size_t kTypicalErrorCount = 10;

// What the recorded errors of an operation add up to.
struct ErrorSummary {
    // The summed weights of the records of each exercise.
    WeightTable weights;
    // The heaviest records above weight 1, at most ten, heaviest first; of equal weights the one
    // met first (by number, then second operand, then place in the log) comes first.
    std::vector<Terror> typicalErrors;
};

// A weight read from a damaged or foreign file can be no number, infinite or negative; such a
// record tells nothing about the pupil and counts as no error.
bool isUsableWeight(float weight);

// Sums the weights per exercise and picks the typical errors. `log` holds the records in
// elements 1..count; element 0 is not used.
ErrorSummary summariseErrors(const std::vector<Terror>& log, int count);

// How many answers each number 2..9 has had, over second operands 1..10.
NumberTotals numberTotals(const persistence::ExerciseCountTable& counts);

// The colour code of an exercise in the statistics table by its rate, the weight over the
// answers: 0 never answered, 1 a rate below 0.05, 2 below 0.11, 3 up to 0.21, 4 above. A rate
// exactly on an edge gets the mark that dividing in extended precision, keeping the quotient as a
// double and comparing it with the extended edges gives: 1 wrong in 20 is 2, 11 in 100 is 3 and
// 21 in 100 is still 3. The comparisons are exact, so the marks are the same on every compiler.
std::uint8_t errorMark(float weight, std::uint16_t answers);

// Rows 2..9 of the board as the statistics table: each exercise's number and mark, and the
// operand column (column 1 for multiplication, 10 for division) as row headings.
void fillStatisticsBoard(game::Board& board, int operation,
                         const persistence::ExerciseCountTable& counts, const WeightTable& weights);

// A typical error as the list shows it: "7x8=54" for multiplication, "56:7=9" for division.
QString typicalErrorText(int operation, const Terror& error);

}  // namespace statistics
