#pragma once

#include <array>
#include <sstream>
#include <string>

#include "game/Board.h"

// A board written as nine rows of ten numbers; "." stands for 2, which is never the product of
// two 2s, so a test writes only the numbers that matter to it.
inline game::Board boardOf(const std::array<const char*, 9>& rows) {
    game::Board board;
    for (int r = 1; r <= 9; ++r) {
        std::istringstream row(rows[r - 1]);
        for (int c = 1; c <= 10; ++c) {
            std::string number;
            row >> number;
            board[r][c] = game::BoardCell{
                static_cast<std::uint8_t>(number == "." || number.empty() ? 2 : std::stoi(number)),
                0};
        }
    }
    return board;
}
