#pragma once

#include <array>
#include <cstdint>

#include "ui/Checked.h"

namespace persistence {

// Operation codes: the index of the per-operation tables and the digit in the error file's name.
constexpr int kMultiplication = 2;
constexpr int kDivision = 3;

using ExerciseCountRow = ui::CheckedArray<std::uint16_t, 1, 10>;
using ExerciseCountTable = ui::CheckedArray<ExerciseCountRow, 1, 10>;
using MarkRow = ui::CheckedArray<std::uint8_t, 1, 10>;

// Settings, language and the statistics of both operations: the whole content of Save.dat.
// Index the per-operation tables with the operation code, the others from 1.
struct ProgressRecord {
    static constexpr int kSize = 648;

    std::uint8_t RecordMark = 0;
    ui::CheckedArray<std::uint8_t, 2, 3> PeriodStarted;
    std::array<std::uint8_t, 5> paddingAfterFlags{};
    ui::CheckedArray<double, 2, 3> PeriodStart;
    ui::CheckedArray<double, 2, 3> PeriodEnd;
    ui::CheckedArray<ExerciseCountTable, 2, 3> ExerciseCount;
    ui::CheckedArray<ui::CheckedArray<MarkRow, 1, 9>, 2, 3> MarkHistory;
    ui::CheckedArray<ui::CheckedArray<std::uint8_t, 1, 9>, 2, 3> MarkHistoryLength;
    std::uint8_t TimeSetting = 0;
    std::uint8_t CountSetting = 0;
    std::uint8_t LanguageCode = 0;
    std::array<std::uint8_t, 7> paddingAtEnd{};

    bool operator==(const ProgressRecord&) const = default;
};

// One recorded error: an exercise, the wrong answer given to it, and how often it was given.
struct Terror {
    static constexpr int kSize = 12;

    std::uint8_t z1 = 0;
    std::uint8_t Z2 = 0;
    std::array<std::uint8_t, 2> paddingAfterOperands{};
    float error = 0.0f;
    std::uint8_t res = 0;
    std::array<std::uint8_t, 3> paddingAtEnd{};

    bool operator==(const Terror&) const = default;
};

// An exercise's operand pair.
struct Ter {
    std::uint8_t z1 = 0;
    std::uint8_t Z2 = 0;
    bool operator==(const Ter&) const = default;
};

using ProgressBytes = std::array<std::uint8_t, ProgressRecord::kSize>;
using TerrorBytes = std::array<std::uint8_t, Terror::kSize>;

// Byte layouts: little-endian integers, IEEE 754 floats, padding carried as it was read.
ProgressBytes encode(const ProgressRecord& record);
ProgressRecord decodeProgressRecord(const ProgressBytes& bytes);
TerrorBytes encode(const Terror& error);
Terror decodeTerror(const TerrorBytes& bytes);

// How a record differs from an earlier one, byte for byte: not at all, in the settings and the
// language only, or in what the pupil practised (answer counts, marks, the statistics period).
enum class RecordChange { None, SettingsOnly, Practice };
RecordChange changeBetween(const ProgressRecord& before, const ProgressRecord& after);

}  // namespace persistence
