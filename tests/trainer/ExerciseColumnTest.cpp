#include <gtest/gtest.h>

#include "tests/support/FormFixture.h"
#include "trainer/ExerciseColumn.h"

namespace {

TEST(AnswerText, ShowsTheExerciseWithThePressedNumber) {
    EXPECT_EQ(trainer::answerText(2, RecentAnswer{3, 4, 12, false}), "3x4=12");
    EXPECT_EQ(trainer::answerText(2, RecentAnswer{3, 4, 13, true}), "3x4=13");
    EXPECT_EQ(trainer::answerText(3, RecentAnswer{3, 4, 5, true}), "12:3=5");
    EXPECT_EQ(trainer::answerText(3, RecentAnswer{9, 10, 101, true}), "90:9=101");
}

class ExerciseColumn : public FormFixture {
  protected:
    ExerciseColumn() { start(); }

    QRgb at(double x, double y) {
        ui::Bitmap picture;
        picture.assign(form().Panel3Viewer.picture());
        return picture.pixelAt(x, y);
    }

    static bool reddish(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
};

TEST_F(ExerciseColumn, WrongAnswersGetARedCrossAndRightOnesNone) {
    TForm3& f = form();
    f.RecentAnswers[2] = {RecentAnswer{3, 4, 12, false}, RecentAnswer{3, 4, 13, true}};
    f.DrawExerciseColumn(2, 0, 1, 1);

    auto crossOnLine = [&](int line) {
        const double top = (line - 1) * f.ColumnRowHeight;
        for (double x = 254; x < 279; x += 0.5) {
            for (double y = top + 5; y < top + 40; y += 0.5) {
                if (reddish(at(x, y))) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_FALSE(crossOnLine(1));
    EXPECT_TRUE(crossOnLine(2));
    EXPECT_FALSE(crossOnLine(3));
    EXPECT_EQ(at(114, 200), 0xFF000000u) << "the divider";
    EXPECT_EQ(at(200, 300), 0xFF696969u) << "an empty line shows the background";
}

TEST_F(ExerciseColumn, MarkBarsTakeTheirColoursOldestLeftmost) {
    TForm3& f = form();
    const int marks[] = {5, 4, 1};
    for (int slot = 1; slot <= 3; ++slot) {
        f.Progress.MarkHistory[2][7][slot] = static_cast<std::uint8_t>(marks[slot - 1]);
    }
    f.Progress.MarkHistoryLength[2][7] = 3;
    f.DrawExerciseColumn(2, 0, 1, 1);

    const double yc = 322;  // row 7: rows are 50 units apart, the first centred at 22
    EXPECT_EQ(at(8 * 1 + 3, yc), 0xFF00BFFFu);
    EXPECT_EQ(at(8 * 2 + 3, yc), 0xFF7FFF00u);
    EXPECT_EQ(at(8 * 3 + 3, yc), 0xFFFF0000u);
    EXPECT_EQ(at(8 * 4 + 3, yc), 0xFF696969u) << "no fourth bar";
    EXPECT_EQ(at(8 * 1 + 3, yc - 17), 0xFF00BFFFu) << "bars are 34 units tall";
    EXPECT_EQ(at(8 * 1 + 3, yc - 19), 0xFF696969u);
    EXPECT_EQ(at(8 * 1 + 3, 22), 0xFF696969u) << "row 1 has no marks";
}

TEST_F(ExerciseColumn, ADamagedHistoryLongerThanTenShowsTenBars) {
    TForm3& f = form();
    for (int slot = 1; slot <= 10; ++slot) {
        f.Progress.MarkHistory[3][2][slot] = 3;
    }
    f.Progress.MarkHistoryLength[3][2] = 200;
    f.DrawExerciseColumn(3, 0, 1, 1);
    EXPECT_EQ(at(8 * 10 + 3, 72), 0xFFFFFF00u);
    EXPECT_TRUE(reporter.messages.isEmpty());
}

}  // namespace
