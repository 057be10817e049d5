#include "trainer/ExerciseGeneration.h"

#include "app/Form.h"

namespace trainer {

namespace {

constexpr int kAttempts = 5;
constexpr int kCycle = 5;

bool heldBack(int factor, int drawCounter) {
    return (factor == 10 && drawCounter < 3) || (factor == 1 && drawCounter < 4) ||
           (factor == 2 && drawCounter < 2);
}

}  // namespace

int leastPractisedFactor(const persistence::ExerciseCountRow& countRow) {
    unsigned best = 64000;
    int result = 9;
    for (int candidate = 2; candidate <= 9; ++candidate) {
        const unsigned count = countRow[candidate];
        if (best >= count) {
            best = count;
            result = candidate;
        }
    }
    return result;
}

int chooseFactor(std::uint8_t& drawCounter, ui::Random& random,
                 const persistence::ExerciseCountRow& countRow) {
    drawCounter = ui::checkedAdd<std::uint8_t>(drawCounter, 1);
    if (drawCounter < kCycle) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int factor = random.next(10) + 1;
            if (!heldBack(factor, drawCounter)) {
                return factor;
            }
        }
    }
    drawCounter = 0;
    return leastPractisedFactor(countRow);
}

QString exerciseText(int operation, int first, int second) {
    if (operation == persistence::kMultiplication) {
        return QStringLiteral("%1 x %2 =").arg(first).arg(second);
    }
    return QStringLiteral("%1 : %2 =").arg(first * second).arg(first);
}

int expectedAnswer(int operation, int first, int second) {
    return operation == persistence::kMultiplication ? first * second : second;
}

}  // namespace trainer

int TForm3::ChooseFactor(int row) {
    return trainer::chooseFactor(DrawCounter, random_, Progress.ExerciseCount[Operation][row]);
}

void TForm3::NextExercise() {
    if (NumberMode == 0 || NumberMode == 1) {
        const int row = SelectedNumber;
        do {
            SecondOperand = ChooseFactor(row);
        } while (SecondOperand == PreviousSecondOperand);
        PreviousSecondOperand = SecondOperand;
        if (NumberMode == 1) {
            const int first = ChooseFactor(row);
            SelectedNumber = first == 10 ? 9 : first == 1 ? 7 : first;
        }
    } else if (NumberMode == 2) {
        std::vector<Ter>& errors = CurrentErrors[Operation];
        if (errors.empty()) {
            // Nothing is left to ask (the list may have run out after a change of operation).
            EndRun(0);
            return;
        }
        const Ter last = errors.back();
        errors.pop_back();
        SelectedNumber = last.z1;
        SecondOperand = last.Z2;
    }
    ExpectedAnswer = trainer::expectedAnswer(Operation, SelectedNumber, SecondOperand);
    Label7.setText(trainer::exerciseText(Operation, SelectedNumber, SecondOperand));
}
