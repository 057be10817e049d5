#include "tests/support/SaveGenerations.h"

namespace {

int recordsOf(std::int64_t generation) {
    return static_cast<int>(generation % 9) + 1;
}

std::uint16_t counterOf(std::int64_t generation) {
    return static_cast<std::uint16_t>(generation & 0xFFFF);
}

Terror recordOf(std::int64_t generation, int index) {
    Terror e;
    e.z1 = static_cast<std::uint8_t>(generation & 0xFF);
    e.Z2 = static_cast<std::uint8_t>((generation >> 8) & 0xFF);
    e.error = static_cast<float>(generation);
    e.res = static_cast<std::uint8_t>(index);
    return e;
}

}  // namespace

void putGeneration(TForm3& form, ui::FixedClock& clock, std::int64_t generation) {
    for (auto& row : form.Progress.ExerciseCount[2]) {
        row.fill(counterOf(generation));
    }
    form.ErrorLog.assign(1, Terror{});
    for (int i = 1; i <= recordsOf(generation); ++i) {
        form.ErrorLog.push_back(recordOf(generation, i));
    }
    form.ErrorLogCount = recordsOf(generation);
    form.ProgressDirty = 1;
    form.ErrorLogDirty = 1;
    clock.set(static_cast<double>(generation));
}

void saveGeneration(TForm3& form, ui::FixedClock& clock, std::int64_t generation) {
    putGeneration(form, clock, generation);
    form.SaveProgress(2, form.ProgressDirty, form.ErrorLogDirty, 0);
}

std::optional<std::int64_t> progressGeneration(const TForm3& form) {
    const auto generation = static_cast<std::int64_t>(form.Progress.PeriodEnd[2]);
    for (const auto& row : form.Progress.ExerciseCount[2]) {
        for (std::uint16_t count : row) {
            if (count != counterOf(generation)) {
                return std::nullopt;
            }
        }
    }
    return generation;
}

std::optional<std::int64_t> errorLogGeneration(const TForm3& form) {
    if (form.ErrorLogCount == 0) {
        return 0;
    }
    const auto generation = static_cast<std::int64_t>(form.ErrorLog[1].error);
    if (form.ErrorLogCount != recordsOf(generation)) {
        return std::nullopt;
    }
    for (int i = 1; i <= form.ErrorLogCount; ++i) {
        if (!(form.ErrorLog[static_cast<std::size_t>(i)] == recordOf(generation, i))) {
            return std::nullopt;
        }
    }
    return generation;
}
