#include "game/BoardGeneration.h"

#include "app/Form.h"
#include "ui/Checked.h"
#include "ui/Errors.h"

namespace game {

namespace {

constexpr int kLowestDifficulty = 3;
constexpr int kHighestDifficulty = 10;
constexpr int kCandidateOdds = 4;

void fill(Board& board, int difficulty, ui::Random& random) {
    for (int r = 1; r <= kBoardRows; ++r) {
        for (int c = 1; c <= kBoardColumns; ++c) {
            board[r][c] =
                BoardCell{ui::checkedCast<std::uint8_t>(random.next(difficulty) + 1), kMarkFree};
        }
    }
}

// A candidate takes the product of every line whose two factors are drawn numbers, so the last
// such line in the order wins. A cell planted earlier is never a factor, which keeps every
// product a product of two drawn numbers.
void plant(Board& board, ui::Random& random) {
    for (int r = 1; r <= kBoardRows; ++r) {
        for (int c = 1; c <= kBoardColumns; ++c) {
            if (random.next(kCandidateOdds) != 0) {
                continue;
            }
            for (const Direction d : kDirections) {
                if (!lineFits(r, c, d)) {
                    continue;
                }
                const BoardCell& first = board[r + d.rowStep][c + d.columnStep];
                const BoardCell& second = board[r + 2 * d.rowStep][c + 2 * d.columnStep];
                if (first.Mark != kMarkFree || second.Mark != kMarkFree) {
                    continue;
                }
                board[r][c].Value = ui::checkedCast<std::uint8_t>(first.Value * second.Value);
                board[r][c].Mark = kMarkPlanted;
            }
        }
    }
}

}  // namespace

void clearMarks(Board& board) {
    for (int r = 1; r <= kBoardRows; ++r) {
        for (int c = 1; c <= kBoardColumns; ++c) {
            board[r][c].Mark = kMarkFree;
        }
    }
}

void generateBoard(Board& board, int difficulty, ui::Random& random) {
    if (difficulty < kLowestDifficulty || difficulty > kHighestDifficulty) {
        throw ui::RangeError(QStringLiteral("The game difficulty %1 is outside %2..%3")
                                 .arg(difficulty)
                                 .arg(kLowestDifficulty)
                                 .arg(kHighestDifficulty));
    }
    fill(board, difficulty, random);
    plant(board, random);
    clearMarks(board);
}

}  // namespace game

void TForm3::GenerateBoard() {
    // The form's random source is seeded once from the system's entropy, so the level start does
    // not reseed it: a reseed from a coarse clock would repeat the boards of quick restarts.
    game::generateBoard(Board, TrackBar3.tag(), random_);
}
