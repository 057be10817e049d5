#pragma once

#include <cstdint>
#include <deque>

#include "app/Form.h"
#include "ui/Bitmap.h"

namespace trainer {

// What the column beside the number buttons shows: on the left, level with each number button,
// the bars of that number's last marks; on the right, the last answers of the operation.
struct ColumnContent {
    int width = 0;  // the viewer's size in whole units
    int height = 0;
    int rowHeight = 0;  // one line of the answers list
    int operation = 2;
    const std::deque<RecentAnswer>* answers = nullptr;  // null: leave the list as it is
    std::int32_t rows = -1;  // -1 no mark bars, 0 all nine rows, 1..9 that row only
    const ui::CheckedArray<persistence::MarkRow, 1, 9>* marks = nullptr;
    const ui::CheckedArray<std::uint8_t, 1, 9>* markCounts = nullptr;
};

// The text of one answer in the list: "3x4=12", "12:3=5".
QString answerText(int operation, const RecentAnswer& answer);

// Paints the column over what the canvas holds.
void paintExerciseColumn(ui::Canvas& canvas, const ColumnContent& content);

}  // namespace trainer
