#pragma once

#include <cstdint>

#include <QtGui/qrgb.h>

#include "persistence/ProgressRecord.h"

namespace trainer {

// The mark 1..5 of a completed run: 5 without a wrong answer, otherwise the share of right answers
// in fifths, at most 4 and at least 1.
int runMark(std::int64_t answered, std::int32_t wrong, std::int32_t exercisesInRun);

// Appends a mark to a number's history of the last ten marks, dropping the oldest when full.
void appendMark(persistence::MarkRow& history, std::uint8_t& length, int mark);

// The colour of a mark's bar; false for a value that is no mark.
bool markColour(int mark, QRgb& colour);

// The top of a mark's bar that spans top to bottom at most: the whole bar, or where the look
// draws signs, a part of it as tall as the mark is good.
double markBarTop(int mark, double top, double bottom);

}  // namespace trainer
