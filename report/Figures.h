#pragma once

// The figures of a report: the pupils' files read in place and added up, shared by every format.
#include <cstdint>
#include <variant>
#include <vector>

#include <QString>

#include "persistence/ProgressRecord.h"
#include "report/Report.h"
#include "statistics/ErrorRates.h"
#include "ui/Look.h"

namespace report {

using persistence::ExerciseCountTable;
using persistence::MarkRow;
using persistence::Terror;
using statistics::WeightTable;

constexpr int kOperations[] = {persistence::kMultiplication, persistence::kDivision};
constexpr int kFirstNumber = 2;
constexpr int kLastNumber = 9;

struct OperationFigures {
    int operation = persistence::kMultiplication;
    bool periodStarted = false;
    double periodStart = 0;
    double periodEnd = 0;
    ExerciseCountTable counts;
    ui::CheckedArray<MarkRow, 1, 9> marks;
    ui::CheckedArray<std::uint8_t, 1, 9> markCounts;
    statistics::ErrorSummary errors;
    statistics::NumberTotals totals;

    bool hasData() const {
        return std::any_of(totals.begin(), totals.end(), [](int n) { return n > 0; }) ||
               std::any_of(markCounts.begin(), markCounts.end(), [](int n) { return n > 0; });
    }
    // The latest mark of a marks row (1 all numbers, 2..9 a number); 0 for none.
    int latestMark(int row) const {
        const int count = std::min<int>(markCounts[row], 10);
        return count == 0 ? 0 : marks[row][count];
    }
};

struct PupilFigures {
    QString name;
    QString folder;  // the data folder the pupil came from, as given, without a closing separator
    QString shown;   // the name as headings show it: with the folder's name where names repeat
    Language language = Language::Russian;
    ui::Look look = ui::Look::Default;         // the look the pupil chose in the window
    std::vector<OperationFigures> operations;  // the readable ones, with data or not

    const OperationFigures* operation(int code) const {
        for (const OperationFigures& figures : operations) {
            if (figures.operation == code) {
                return &figures;
            }
        }
        return nullptr;
    }
};

struct Skipped {
    QString pupil;
    QString path;
    QString reason;     // empty: the file holds no whole record
    QString folder;     // as PupilFigures::folder
    int operation = 0;  // the operation left out; 0: the whole pupil
};

struct Collected {
    int folders = 0;  // the data folders read
    std::vector<PupilFigures> pupils;
    std::vector<Skipped> skipped;
};

// The pupils asked for, read from the folders; or why they cannot be.
std::variant<Collected, QString> collect(const Request& request);

QString quoted(const QString& text);

struct Exercise {
    int number;
    int factor;
    float errors;
    int answers;
    double rate() const { return answers > 0 ? static_cast<double>(errors) / answers : 0.0; }
};

// "7x8" or "56:7".
QString exerciseText(int operation, int number, int factor);
// A count of errors: whole, as the program records them, and never in e-notation.
QString weightText(double weight, Language language);
// An error rate in per cent, never above 100: a crafted file may hold more errors than answers.
double ratePercent(double errors, double answers);
QString percentText(double rate, Language language);

// The exercises with the highest error rate among those answered at least a few times.
std::vector<Exercise> practiseNext(const OperationFigures& f);

// The class's answers and errors added up, per exercise.
struct ClassFigures {
    std::vector<std::vector<long long>> answers =
        std::vector<std::vector<long long>>(11, std::vector<long long>(11, 0));
    WeightTable weights;
};

ClassFigures classFigures(const std::vector<PupilFigures>& pupils, int operation);
// The class's sums as the table's counts and weights.
void classTable(const ClassFigures& c, ExerciseCountTable& counts, WeightTable& weights);
// The exercises the class missed most.
std::vector<Exercise> mostMissed(const ClassFigures& c);

}  // namespace report
