#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "persistence/ProgressFiles.h"
#include "tests/support/FilesUnder.h"
#include "tests/support/FormFixture.h"

namespace {

class FormCreate : public FormFixture {};

TEST_F(FormCreate, FirstStartOnAnEmptyFolderTakesTheDefaultsAndWritesNothing) {
    ASSERT_FALSE(QFileInfo::exists(dataFolder()));
    TForm3& f = start();

    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
    EXPECT_TRUE(QDir(dataFolder()).isEmpty()) << "start-up writes no file";
    EXPECT_TRUE(f.DataFolder.endsWith('/'));

    EXPECT_EQ(f.Operation, 2);
    EXPECT_EQ(f.SelectedNumber, 2);
    EXPECT_EQ(f.NumberMode, 0);
    EXPECT_EQ(f.LanguageRow, 1);
    EXPECT_EQ(f.AmericanEnglish, 0);
    EXPECT_EQ(f.ErrorLogCount, 0);
    EXPECT_EQ(f.Progress.RecordMark, 1);
    EXPECT_EQ(f.Progress.TimeSetting, 3);
    EXPECT_EQ(f.Progress.CountSetting, 25);
    EXPECT_EQ(f.Progress.LanguageCode, 1);
    for (int op = 2; op <= 3; ++op) {
        EXPECT_EQ(f.Progress.PeriodStarted[op], 1);
        EXPECT_EQ(f.Progress.PeriodStart[op], kStartMoment);
        EXPECT_EQ(f.Progress.PeriodEnd[op], kStartMoment);
        EXPECT_TRUE(f.CurrentErrors[op].empty());
        EXPECT_TRUE(f.RecentAnswers[op].empty());
    }

    EXPECT_DOUBLE_EQ(f.TrackBar1.value(), 3);
    EXPECT_DOUBLE_EQ(f.TrackBar2.value(), 25);
    EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), 180);
    EXPECT_DOUBLE_EQ(f.ProgressBar1.maximum(), 25);
    EXPECT_EQ(f.Label6.text(), "3");
    EXPECT_EQ(f.Label8.text(), "25");
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(FormCreate, TakesTheDrawingGeometryOnceFromTheDesign) {
    TForm3& f = start();
    EXPECT_EQ(f.Panel1ViewerWidth, 783);
    EXPECT_EQ(f.Panel1ViewerHeight, 632);
    EXPECT_EQ(f.GridCellWidth, 78);
    EXPECT_EQ(f.GridCellHeight, 70);
    EXPECT_EQ(f.Panel2ViewerWidth, 113);
    EXPECT_EQ(f.Panel2ViewerHeight, 450);
    EXPECT_EQ(f.Panel3ViewerWidth, 284);
    EXPECT_EQ(f.Panel3ViewerHeight, 450);
    EXPECT_EQ(f.ColumnRowHeight, 45);
    EXPECT_DOUBLE_EQ(f.Panel1Viewer.bitmapScale(), 0.99);
    EXPECT_TRUE(f.Panel1Viewer.visible());
    EXPECT_TRUE(f.Panel3Viewer.visible());
    EXPECT_FALSE(f.Panel2Viewer.visible());

    // A later change of a panel's size does not move the grid.
    f.Panel1.setRect(QRectF(0, 0, 400, 300));
    EXPECT_EQ(f.GridCellWidth, 78);
}

// The start's reading alone (what the start-up fuzz target runs for most of its inputs) loads
// what the whole start loads, and leaves the same files.
TEST(FormCreateReading, TheReadingAloneLoadsWhatTheWholeStartLoads) {
    persistence::ProgressRecord record;
    record.RecordMark = 1;
    record.TimeSetting = 7;
    record.CountSetting = 99;  // beyond the track bar
    record.LanguageCode = 3;
    record.ExerciseCount[2][3][4] = 12;
    const auto progress = persistence::encode(record);
    const QByteArray saveDat(reinterpret_cast<const char*>(progress.data()), progress.size());
    persistence::Terror recorded;
    recorded.z1 = 3;
    recorded.Z2 = 4;
    recorded.error = 2.5f;
    recorded.res = 13;
    const auto error = persistence::encode(recorded);
    const QByteArray terror(reinterpret_cast<const char*>(error.data()), error.size());
    struct Case {
        const char* what;
        QByteArray saveDat;  // empty: none
        QByteArray errors;   // empty: none
    };
    const Case cases[] = {
        {"no files", {}, {}},
        {"whole files", saveDat, terror + terror},
        {"a short Save.dat", saveDat.left(100), terror},
        {"an incomplete error record", saveDat, terror + terror.left(5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Started {
            QTemporaryDir dir;
            ui::FixedClock clock{46000.5};
            ui::ScriptedRandom random;
            ui::CollectingErrorReporter reporter;
            std::unique_ptr<TForm3> form;
        };
        auto startOn = [&c](Started& s, bool whole) {
            const QString folder = s.dir.path() + QStringLiteral("/Kestrova/");
            QDir().mkpath(folder);
            auto write = [](const QString& path, const QByteArray& bytes) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(bytes);
            };
            if (!c.saveDat.isEmpty()) {
                write(persistence::progressFilePath(folder), c.saveDat);
            }
            if (!c.errors.isEmpty()) {
                write(persistence::errorFilePath(folder, persistence::kMultiplication), c.errors);
            }
            s.form = std::make_unique<TForm3>(folder, s.clock, s.random, s.reporter);
            if (whole) {
                s.form->FormCreate();
            } else {
                s.form->loadAsAtStart();
            }
        };
        Started whole;
        Started reading;
        startOn(whole, true);
        startOn(reading, false);
        const TForm3& a = *whole.form;
        const TForm3& b = *reading.form;

        EXPECT_EQ(persistence::encode(a.Progress), persistence::encode(b.Progress));
        EXPECT_EQ(a.ErrorLogCount, b.ErrorLogCount);
        EXPECT_EQ(a.ErrorLog, b.ErrorLog);
        EXPECT_EQ(a.ErrorLogDirty, b.ErrorLogDirty);
        EXPECT_EQ(a.Operation, b.Operation);
        EXPECT_EQ(a.LanguageRow, b.LanguageRow);
        EXPECT_EQ(a.AmericanEnglish, b.AmericanEnglish);
        EXPECT_EQ(a.TrackBar1.value(), b.TrackBar1.value());
        EXPECT_EQ(a.TrackBar2.value(), b.TrackBar2.value());
        EXPECT_EQ(whole.reporter.messages, reading.reporter.messages);
        EXPECT_EQ(filesUnder(whole.dir.path()), filesUnder(reading.dir.path()));
    }
}

TEST_F(FormCreate, AnUncreatableDataFolderStopsStartUpWithAMessage) {
    writeDataFile("blocker", "x");  // a file where a folder must go
    TForm3 blocked(dataFile("blocker") + "/Kestrova/", clock, random, reporter);
    EXPECT_THROW(blocked.FormCreate(), ui::IoError);
}

TEST_F(FormCreate, TheControlTableFollowsTheWindowDesign) {
    TForm3& f = form();
    const auto& controls = f.controls();

    auto indexOf = [&](const ui::Control& c) {
        return std::find(controls.begin(), controls.end(), &c) - controls.begin();
    };
    // Stacking order: Label22 at the bottom, Button12 on top; each viewer above its panel's
    // other children.
    EXPECT_EQ(controls.front(), &f.Label22);
    EXPECT_EQ(controls.back(), &f.Button12);
    EXPECT_LT(indexOf(f.Button9), indexOf(f.Panel2Viewer));
    EXPECT_LT(indexOf(f.Button17), indexOf(f.Panel1Viewer));
    EXPECT_LT(indexOf(f.Label17), indexOf(f.Panel4));
    EXPECT_LT(indexOf(f.Panel4), indexOf(f.Button16));

    EXPECT_EQ(f.Button7.parent(), &f.Panel2);
    EXPECT_EQ(f.Button7.rect(), QRectF(24, 300, 89, 50));
    EXPECT_EQ(f.Button17.parent(), &f.Panel1);
    EXPECT_EQ(f.Button17.rect().translated(f.Panel1.rect().topLeft()), QRectF(1202, 662, 75, 57));
    EXPECT_EQ(f.Label7.rect(), QRectF(632, -2, 297, 98));
    EXPECT_EQ(f.Label7.fontFamily(), ui::FontFamily::Rounded);
    EXPECT_EQ(f.Label7.fontSize(), 72);
    EXPECT_EQ(f.Label16.fontColor(), 0xFFDC143Cu);
    EXPECT_EQ(f.Label10.verticalAlign(), ui::Align::Leading);
    EXPECT_EQ(f.Label10.fontColor(), 0xFFA52A2Au);
    EXPECT_EQ(f.Label5.text(), QString::fromUtf8("текст2"));
    EXPECT_EQ(f.Label15.text(), "Language");
    EXPECT_EQ(f.Button15.fontFamily(), ui::FontFamily::Semibold);
    EXPECT_TRUE(f.ProgressBar1.vertical());
    EXPECT_EQ(f.ComboBox1.items().at(2), "ENGLISH American");
    EXPECT_EQ(f.ComboBox1.itemIndex(), 0);

    const ui::Control* hiddenAtStart[] = {
        &f.Label17,   &f.Label10,   &f.Label3,  &f.Label2,
        &f.Label7,    &f.Label5,    &f.Label6,  &f.Label8,
        &f.TrackBar1, &f.TrackBar2, &f.Label9,  &f.Button16,
        &f.Label11,   &f.Label16,   &f.Label14, &f.StatisticsKeyPanel};
    for (const ui::Control* c : hiddenAtStart) {
        EXPECT_FALSE(c->visible()) << c->name().toStdString();
    }
    int visible = 0;
    for (const ui::Control* c : controls) {
        visible += c->visible() ? 1 : 0;
    }
    // The pupil group shows once the form is given its pupils.
    EXPECT_FALSE(f.PupilLabel.visible());
    EXPECT_FALSE(f.PupilBox.visible());
    EXPECT_EQ(visible + 16 + 1 + 2, static_cast<int>(controls.size()))
        << "Panel2Viewer and the pupil group are hidden too";
}

}  // namespace
