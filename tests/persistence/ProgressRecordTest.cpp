#include <limits>

#include <gtest/gtest.h>

#include "persistence/ProgressRecord.h"

using namespace persistence;

namespace {

TEST(Terror, SevenTimesEightAnswered54OnceHasItsExactBytes) {
    Terror e;
    e.z1 = 7;
    e.Z2 = 8;
    e.error = 1.0f;
    e.res = 54;
    const TerrorBytes expected = {0x07, 0x08, 0x00, 0x00, 0x00, 0x00,
                                  0x80, 0x3F, 0x36, 0x00, 0x00, 0x00};
    EXPECT_EQ(encode(e), expected);
    EXPECT_EQ(decodeTerror(expected), e);
}

TEST(Terror, PaddingOfALoadedRecordIsKept) {
    TerrorBytes bytes = {1, 2, 0xAA, 0xBB, 0, 0, 0x00, 0x40, 9, 0xCC, 0xDD, 0xEE};
    const Terror e = decodeTerror(bytes);
    EXPECT_FLOAT_EQ(e.error, 2.0f);
    EXPECT_EQ(encode(e), bytes);
}

TEST(ProgressRecord, FieldsLieAtTheirOffsets) {
    ProgressRecord r;
    r.RecordMark = 1;
    r.ExerciseCount[kDivision][9][10] = 0x1234;
    r.ExerciseCount[kMultiplication][1][1] = 0x0102;
    r.MarkHistoryLength[kMultiplication][7] = 1;
    r.MarkHistory[kMultiplication][7][1] = 4;
    r.MarkHistory[kDivision][9][10] = 5;
    r.MarkHistoryLength[kDivision][9] = 10;
    r.PeriodStarted[kDivision] = 1;
    r.PeriodEnd[kDivision] = 1.5;
    r.TimeSetting = 3;
    r.CountSetting = 25;
    r.LanguageCode = 102;

    const ProgressBytes b = encode(r);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[418], 0x34);
    EXPECT_EQ(b[419], 0x12);
    EXPECT_EQ(b[40], 0x02);
    EXPECT_EQ(b[41], 0x01);
    EXPECT_EQ(b[626], 1) << "MarkHistoryLength of multiplication, number 7";
    EXPECT_EQ(b[500], 4) << "first mark of multiplication, number 7";
    EXPECT_EQ(b[619], 5) << "last mark of division, number 9";
    EXPECT_EQ(b[637], 10);
    // 1.5 as a little-endian double: 00 00 00 00 00 00 F8 3F, at the end date of division.
    EXPECT_EQ(b[32 + 6], 0xF8);
    EXPECT_EQ(b[32 + 7], 0x3F);
    EXPECT_EQ(b[638], 3);
    EXPECT_EQ(b[639], 25);
    EXPECT_EQ(b[640], 102);
}

TEST(ProgressRecord, DecodingAnEncodingGivesBackEveryFieldAndPaddingByte) {
    ProgressRecord r;
    r.RecordMark = 7;
    r.paddingAfterFlags = {1, 2, 3, 4, 5};
    r.paddingAtEnd = {9, 8, 7, 6, 5, 4, 3};
    int n = 1;
    for (int op = 2; op <= 3; ++op) {
        r.PeriodStarted[op] = static_cast<std::uint8_t>(op);
        r.PeriodStart[op] = op == 2 ? 90000.246913578 : 77777.7777777;
        r.PeriodEnd[op] = op == 2 ? 90201.975308642 : 99999.1234567;
        for (auto& row : r.ExerciseCount[op]) {
            for (auto& count : row) {
                count = static_cast<std::uint16_t>((n++ % 255 + 1) * 257);
            }
        }
        for (auto& row : r.MarkHistory[op]) {
            for (auto& mark : row) {
                mark = static_cast<std::uint8_t>(n++ % 250 + 1);
            }
        }
        for (auto& length : r.MarkHistoryLength[op]) {
            length = static_cast<std::uint8_t>(n++ % 10 + 1);
        }
    }
    r.TimeSetting = 4;
    r.CountSetting = 30;
    r.LanguageCode = 2;

    const ProgressBytes bytes = encode(r);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_NE(bytes[i], 0) << "byte " << i << " should be non-zero in this fixture";
    }
    EXPECT_EQ(decodeProgressRecord(bytes), r);
    EXPECT_EQ(encode(decodeProgressRecord(bytes)), bytes);
}

TEST(ProgressRecord, AChangeIsPracticeUnlessOnlyTheSettingsOrTheLanguageMoved) {
    using persistence::RecordChange;
    using Edit = void (*)(ProgressRecord&);
    const struct {
        const char* what;
        Edit edit;
        RecordChange change;
    } cases[] = {
        {"nothing", [](ProgressRecord&) {}, RecordChange::None},
        {"time", [](ProgressRecord& r) { r.TimeSetting = 7; }, RecordChange::SettingsOnly},
        {"count", [](ProgressRecord& r) { r.CountSetting = 40; }, RecordChange::SettingsOnly},
        {"language", [](ProgressRecord& r) { r.LanguageCode = 102; }, RecordChange::SettingsOnly},
        {"an answer", [](ProgressRecord& r) { r.ExerciseCount[3][9][10] += 1; },
         RecordChange::Practice},
        {"a mark", [](ProgressRecord& r) { r.MarkHistoryLength[2][4] = 1; },
         RecordChange::Practice},
        {"a period",
         [](ProgressRecord& r) {
             r.TimeSetting = 7;
             r.PeriodEnd[2] += 1;
         },
         RecordChange::Practice},
    };
    ProgressRecord before;
    before.RecordMark = 1;
    before.TimeSetting = 3;
    before.CountSetting = 25;
    before.LanguageCode = 1;
    // A date that is not a number still compares equal to itself, byte for byte.
    before.PeriodStart[3] = std::numeric_limits<double>::quiet_NaN();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgressRecord after = before;
        c.edit(after);
        EXPECT_EQ(persistence::changeBetween(before, after), c.change);
    }
}

}  // namespace
