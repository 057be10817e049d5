#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

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
