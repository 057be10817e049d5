#pragma once

#include <cstdint>

#include "game/Board.h"
#include "game/BoardGeneration.h"

namespace game {

// The mark of a cell the program's search examined and found to be no product; the cells of its
// triples get kMarkProgram.
constexpr std::uint8_t kMarkNoProduct = 2;

// The program's score for a level: the sum of the products of its triples, and how many product
// cells it found.
struct SearchResult {
    std::int32_t points = 0;
    std::int32_t tripleCount = 0;
    bool operator==(const SearchResult&) const = default;
};

// How many cells the program examines in a level: 7 in level 1, two more in each level after.
constexpr int searchPasses(int gameLevel) {
    return gameLevel * 2 + 5;
}

// The program's greedy search of a level. Each pass examines the largest free number (of equal
// numbers the first in reading order) as the product of every line through it whose two factor
// cells are still free; a product cell scores once however many lines it completes. Cells used in
// a triple or examined in vain take no further part. When no free cell is left the remaining
// passes have nothing to examine and do nothing. Leaves the marks on the board.
SearchResult programSearch(Board& board, int gameLevel);

// The level's time in units of 40 seconds, 1..10: half the program's triples, then, from level 3
// on, less for a pupil who leads over the finished levels (1/300 of the lead per level above 2)
// and more for one who trails (1/500 of the gap per level above 2).
int levelTime(std::int32_t tripleCount, int gameLevel, std::int32_t pupilTotal,
              std::int32_t programTotal);

}  // namespace game
