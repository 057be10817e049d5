#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <QDate>
#include <QFileInfo>
#include <QImage>
#include <QLocale>

#include "tests/support/FormFixture.h"

namespace {

using persistence::ProgressRecord;

QByteArray bytesOf(const ProgressRecord& record) {
    const auto raw = persistence::encode(record);
    return QByteArray(reinterpret_cast<const char*>(raw.data()), raw.size());
}

QByteArray bytesOf(const std::vector<Terror>& records) {
    QByteArray bytes;
    for (const Terror& t : records) {
        const auto raw = persistence::encode(t);
        bytes.append(reinterpret_cast<const char*>(raw.data()), raw.size());
    }
    return bytes;
}

Terror error(int z1, int z2, float weight, int res) {
    Terror t;
    t.z1 = static_cast<std::uint8_t>(z1);
    t.Z2 = static_cast<std::uint8_t>(z2);
    t.error = weight;
    t.res = static_cast<std::uint8_t>(res);
    return t;
}

class StatisticsScreen : public FormFixture {
  protected:
    // A record as the program writes it, with answers and marks of both operations.
    static ProgressRecord pupilRecord() {
        ProgressRecord r;
        r.RecordMark = 1;
        r.TimeSetting = 3;
        r.CountSetting = 25;
        r.LanguageCode = 1;
        for (int op = 2; op <= 3; ++op) {
            r.PeriodStarted[op] = 1;
            r.PeriodStart[op] = 45990.25 + op;
            r.PeriodEnd[op] = 45999.75 + op;
            r.ExerciseCount[op][7][8] = op == 2 ? 10 : 30;
            r.ExerciseCount[op][op == 2 ? 3 : 5][op == 2 ? 4 : 6] = 100;
            r.MarkHistory[op][7][1] = 4;
            r.MarkHistoryLength[op][7] = 1;
        }
        return r;
    }

    void writePupilFiles() {
        writeDataFile("Save.dat", bytesOf(pupilRecord()));
        writeDataFile("save2.dat", bytesOf({error(7, 8, 3.0f, 54), error(7, 8, 1.0f, 55)}));
        writeDataFile("save3.dat", bytesOf({error(7, 8, 4.0f, 9), error(5, 6, 2.0f, 5)}));
    }

    QRgb pixel(const ui::ImageViewer& viewer, double x, double y) {
        ui::Bitmap picture;
        picture.assign(viewer.picture());
        return picture.pixelAt(x, y);
    }

    // Whether white text shows anywhere in a rectangle of the list beside the number buttons.
    bool textIn(const QRectF& area) {
        ui::Bitmap picture;
        picture.assign(form().Panel3Viewer.picture());
        for (double y = area.top(); y < area.bottom(); y += 1) {
            for (double x = area.left(); x < area.right(); x += 1) {
                const QRgb c = picture.pixelAt(x, y);
                if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200) {
                    return true;
                }
            }
        }
        return false;
    }

    // Line r of the typical errors (38 units apart, the first at 53, clear of the heading above
    // it), and the total of number i (level with its button, 50 units apart).
    bool typicalErrorShown(int r) { return textIn(QRectF(158, r * 38 + 23, 126, 20)); }
    bool totalShown(int i) { return textIn(QRectF(1, (i - 1) * 50 + 5, 122, 34)); }

    // The picture of number i's total, the same for equal totals.
    QImage totalPicture(int i) {
        const QImage picture = form().Panel3Viewer.picture();
        const double ratio = picture.devicePixelRatio();
        const QRectF area(1, (i - 1) * 50 + 5, 122, 34);
        return picture.copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect());
    }

    // The numbers whose total is not the 0 that number 9 shows.
    std::vector<int> numbersWithAnswers() {
        std::vector<int> numbers;
        for (int i = 2; i <= 8; ++i) {
            if (totalPicture(i) != totalPicture(9)) {
                numbers.push_back(i);
            }
        }
        return numbers;
    }

    // Inside the cell of number i and column c of the table, clear of its text.
    QRgb cellColour(int i, int c) {
        return pixel(form().Panel1Viewer, (c - 1) * 78 + 7, (i - 1) * 70 + 6);
    }

    QString periodText(double start, double end) {
        auto date = [](double moment) {
            return QLocale::system().toString(QDate(1899, 12, 30).addDays(std::floor(moment)),
                                              QLocale::ShortFormat);
        };
        return QString::fromUtf8("за период ") + date(start) + "-" + date(end);
    }
};

TEST_F(StatisticsScreen, OpensInPlaceOfTheGameButtonAndClosesBackToTheAnswerTable) {
    TForm3& f = start();
    f.Button5.click();
    ASSERT_FALSE(f.Button16.selected());
    f.Button14.click();

    EXPECT_EQ(f.Button14.tag(), 1);
    EXPECT_TRUE(f.Button16.selected()) << "no data: nothing to reset";
    EXPECT_EQ(f.Button14.text(), QString::fromUtf8("Выход-Статистика"));
    EXPECT_EQ(f.Button14.fontSize(), 18);
    EXPECT_TRUE(f.Button16.visible());
    EXPECT_EQ(f.Button16.text(), QString::fromUtf8("Обнулить"));
    EXPECT_DOUBLE_EQ(f.Button16.rect().top(), 661);
    EXPECT_FALSE(f.Button15.visible());
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("Статистика"));
    EXPECT_EQ(f.Label9.text(), QString::fromUtf8("Проблемные числа"));
    EXPECT_EQ(f.Label5.text(), periodText(kStartMoment, kStartMoment));
    EXPECT_TRUE(f.Label9.visible() && f.Label5.visible());
    EXPECT_FALSE(f.TrackBar1.visible() || f.Label8.visible() || f.ComboBox1.visible());
    for (const ui::Button* b :
         {&f.Button1, &f.Button9, &f.Button10, &f.Button13, &f.Button12, &f.Button15}) {
        EXPECT_TRUE(b->selected()) << b->name().toStdString();
    }
    EXPECT_FALSE(f.Button11.selected());
    EXPECT_EQ(cellColour(2, 2), 0xFFC0C0C0u) << "never answered";
    EXPECT_EQ(pixel(f.Panel1Viewer, 79.5, 8), 0xFFC0C0C0u) << "the header band";

    f.Button14.click();
    EXPECT_EQ(f.Button14.tag(), 0);
    EXPECT_EQ(f.Button14.text(), QString::fromUtf8("Статистика"));
    EXPECT_EQ(f.Button14.fontSize(), 24);
    EXPECT_FALSE(f.Button16.visible());
    EXPECT_DOUBLE_EQ(f.Button16.rect().top(), 595);
    EXPECT_TRUE(f.Button15.visible());
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("на 5"));
    EXPECT_FALSE(f.Label9.visible() || f.Label5.visible());
    EXPECT_FALSE(f.Button12.selected() || f.Button14.selected());
    EXPECT_TRUE(f.Button5.selected());
    EXPECT_TRUE(f.TrackBar1.visible() && f.Label8.visible());
    EXPECT_EQ(pixel(f.Panel1Viewer, 79.5, 8), 0xFF696969u) << "the answer table's gap";
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(StatisticsScreen, SpeaksTheChosenLanguage) {
    const struct {
        int item;
        const char *exit, *reset, *title, *period;
    } languages[] = {
        {1, "Out of Statistics", "Reset to zero", "Problem numbers", "for the period "},
        {2, "Out of Statistics", "Set to nil", "Problem numbers", "for the period "},
    };
    for (const auto& language : languages) {
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        TForm3& f = start();
        f.ComboBox1.setItemIndex(language.item);
        f.Button14.click();
        EXPECT_EQ(f.Button14.text(), language.exit);
        EXPECT_EQ(f.Button16.text(), language.reset);
        EXPECT_EQ(f.Label1.text(), "Statistics");
        EXPECT_EQ(f.Label9.text(), language.title);
        EXPECT_TRUE(f.Label5.text().startsWith(language.period));
    }
}

TEST_F(StatisticsScreen, ColoursTheTableCountsTheAnswersAndListsTypicalErrors) {
    writePupilFiles();
    TForm3& f = start();
    f.Button14.click();

    EXPECT_EQ(f.Board[7][8], (game::BoardCell{8, 4})) << "4 wrong in 10";
    EXPECT_EQ(f.Board[3][4], (game::BoardCell{4, 1})) << "never wrong in 100";
    EXPECT_EQ(f.Board[5][5], (game::BoardCell{5, 0}));
    EXPECT_EQ(cellColour(7, 8), 0xFFFF0000u);
    EXPECT_EQ(cellColour(3, 4), 0xFF00BFFFu);
    EXPECT_FALSE(f.Button16.selected()) << "there is something to reset";
    EXPECT_EQ(f.Label5.text(), periodText(45992.25, 46001.75));
    EXPECT_TRUE(typicalErrorShown(1)) << "7x8=54 weighs 3";
    EXPECT_FALSE(typicalErrorShown(2)) << "7x8=55 weighs only 1";
    for (int i = 2; i <= 9; ++i) {
        EXPECT_TRUE(totalShown(i)) << i;
    }
    EXPECT_EQ(numbersWithAnswers(), (std::vector<int>{3, 7}));
    const QImage hundred = totalPicture(3);
    const QImage ten = totalPicture(7);

    // The division buttons redraw the screen for division, whose data differ.
    f.Button11.click();
    EXPECT_EQ(f.Board[7][10], (game::BoardCell{7, 0}));
    EXPECT_EQ(f.Board[7][7], (game::BoardCell{56, 3})) << "4 wrong in 30";
    EXPECT_EQ(f.Board[5][5], (game::BoardCell{30, 1})) << "2 wrong in 100";
    EXPECT_EQ(f.Board[4][4], (game::BoardCell{20, 0}));
    EXPECT_EQ(f.Board[3][3], (game::BoardCell{12, 0})) << "answered only in multiplication";
    EXPECT_TRUE(typicalErrorShown(1)) << "56:7=9 weighs 4";
    EXPECT_TRUE(typicalErrorShown(2)) << "30:5=5 weighs 2";
    EXPECT_FALSE(typicalErrorShown(3));
    EXPECT_EQ(cellColour(7, 7), 0xFFFFFF00u);
    EXPECT_EQ(numbersWithAnswers(), (std::vector<int>{5, 7}));
    EXPECT_TRUE(totalPicture(5) == hundred) << "100 answers, as for 3 in multiplication";
    EXPECT_TRUE(totalPicture(7) != ten) << "30 answers, not 10";
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(StatisticsScreen, TheResetTakesTwoClicksAndTouchesOnlyTheOperationShown) {
    struct Case {
        const char* name;
        bool switchBetweenClicks;
        int operation;
        // Bytes of Save.dat that belong to the operation.
        std::vector<std::pair<int, int>> ranges;
    };
    const Case cases[] = {
        {"multiplication", false, 2, {{1, 1}, {40, 200}, {440, 90}, {620, 9}}},
        {"division after a switch", true, 3, {{2, 1}, {240, 200}, {530, 90}, {629, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writePupilFiles();
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        TForm3& f = start();
        f.ProgressDirty = 0;  // the stored settings are the ones shown: nothing to write
        const QByteArray record = readDataFile("Save.dat");
        const QByteArray errors2 = readDataFile("save2.dat");
        const QByteArray errors3 = readDataFile("save3.dat");

        f.Button14.click();
        f.Button16.click();
        EXPECT_EQ(f.Button16.tag(), 1);
        EXPECT_TRUE(f.Label17.visible());
        EXPECT_EQ(f.Label17.text(), QString::fromUtf8("Подтвердить:"));
        EXPECT_FALSE(f.Panel4.visible());
        if (c.switchBetweenClicks) {
            f.Button11.click();
            EXPECT_EQ(f.Button16.tag(), 1) << "the confirmation still waits";
        }
        const QString shownPeriod = f.Label5.text();
        EXPECT_EQ(readDataFile("Save.dat"), record) << "nothing is reset at the first click";

        f.Button16.click();
        QByteArray expected = record;
        for (const auto& [offset, length] : c.ranges) {
            expected.replace(offset, length, QByteArray(length, '\0'));
        }
        EXPECT_EQ(readDataFile("Save.dat"), expected);
        EXPECT_EQ(readDataFile("save2.dat"), c.operation == 2 ? QByteArray() : errors2);
        EXPECT_EQ(readDataFile("save3.dat"), c.operation == 3 ? QByteArray() : errors3);
        EXPECT_TRUE(QFileInfo::exists(dataFile(c.operation == 2 ? "save2.dat" : "save3.dat")));
        EXPECT_EQ(f.ErrorLogCount, 0);
        EXPECT_EQ(f.ErrorLogDirty, 0);
        EXPECT_EQ(f.Button16.tag(), 0);
        EXPECT_FALSE(f.Label17.visible());
        EXPECT_TRUE(f.Panel4.visible());
        EXPECT_TRUE(f.Button16.selected());
        EXPECT_EQ(f.Board[7][c.operation == 2 ? 8 : 7].Mark, 0);
        EXPECT_EQ(cellColour(7, c.operation == 2 ? 8 : 7), 0xFFC0C0C0u);
        EXPECT_EQ(f.Label5.text(), shownPeriod) << "a period not begun leaves the lines alone";
        EXPECT_FALSE(typicalErrorShown(1));
        EXPECT_EQ(f.Progress.PeriodStarted[c.operation], 0);
        EXPECT_EQ(f.Progress.PeriodStarted[5 - c.operation], 1);
    }
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(StatisticsScreen, LeavingTheScreenCancelsAWaitingReset) {
    writePupilFiles();
    TForm3& f = start();
    f.ProgressDirty = 0;
    const QByteArray record = readDataFile("Save.dat");

    f.Button14.click();
    f.Button16.click();
    f.Button14.click();
    EXPECT_EQ(f.Button16.tag(), 0);
    EXPECT_FALSE(f.Label17.visible());
    EXPECT_TRUE(f.Panel4.visible());

    f.Button14.click();
    f.Button16.click();
    EXPECT_EQ(f.Button16.tag(), 1) << "the click only asks again";
    EXPECT_EQ(readDataFile("Save.dat"), record);
    EXPECT_EQ(f.ErrorLogCount, 2);
    EXPECT_EQ(f.Progress.ExerciseCount[2][7][8], 10);
}

TEST_F(StatisticsScreen, DamagedWeightsAndDatesStillDraw) {
    ProgressRecord record = pupilRecord();
    record.PeriodStart[2] = std::numeric_limits<double>::quiet_NaN();
    record.PeriodEnd[2] = 1e300;
    record.ExerciseCount[2][4][5] = 10;
    writeDataFile("Save.dat", bytesOf(record));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    writeDataFile("save2.dat",
                  bytesOf({error(4, 5, nan, 19), error(4, 5, infinity, 18), error(4, 5, -3.0f, 17),
                           error(0, 200, 5.0f, 255), error(7, 8, 3.0f, 54)}));
    TForm3& f = start();
    f.Button14.click();

    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
    EXPECT_EQ(f.Board[4][5].Mark, 1) << "damaged weights count as no error";
    EXPECT_EQ(f.Board[7][8].Mark, 4);
    EXPECT_TRUE(typicalErrorShown(1));
    EXPECT_FALSE(typicalErrorShown(2));
    EXPECT_EQ(f.Label5.text(), QString::fromUtf8("за период -"));
}

}  // namespace
