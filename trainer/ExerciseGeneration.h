#pragma once

#include <cstdint>

#include <QString>

#include "persistence/ProgressRecord.h"
#include "ui/Random.h"

namespace trainer {

// Draws a factor 1..10 for an exercise. The factors 1, 2 and 10 are held back in the first draws
// of each cycle of five, and the fifth draw at the latest takes the factor 2..9 practised least
// often with this first operand (its row of answer counts). drawCounter counts the draws of the
// cycle and is advanced here.
int chooseFactor(std::uint8_t& drawCounter, ui::Random& random,
                 const persistence::ExerciseCountRow& countRow);

// The factor 2..9 answered least often in the row; ties go to the larger factor.
int leastPractisedFactor(const persistence::ExerciseCountRow& countRow);

// The text of an exercise and the answer that is right for it.
QString exerciseText(int operation, int first, int second);
int expectedAnswer(int operation, int first, int second);

}  // namespace trainer
