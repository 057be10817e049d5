#pragma once

#include <cstdint>

#include "ui/Checked.h"

namespace game {

struct BoardCell {
    std::uint8_t Value = 0;
    std::uint8_t Mark = 0;
    bool operator==(const BoardCell&) const = default;
};

using BoardRow = ui::CheckedArray<BoardCell, 1, 10>;
// Rows 1..9 by columns 1..10; a tenth row exists but nothing reads or writes it.
using Board = ui::CheckedArray<BoardRow, 1, 10>;

}  // namespace game
