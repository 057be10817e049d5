#include "app/Form.h"

#include <QDir>

#include "app/Colours.h"
#include "app/Texts.h"

namespace {

using namespace colours;
using ui::Align;
using ui::FontFamily;

// How a label or button looks in the window's design.
struct TextDesign {
    double size = 12;
    bool bold = false;
    FontFamily family = FontFamily::Default;
    QRgb colour = kBlack;
    Align align = Align::Leading;
    bool topAligned = false;
    bool styleFamily = false;
};

struct ControlDesign {
    ui::Control* control;
    ui::Panel* parent;
    QRectF rect;
    TextDesign look;
    const char* text;
    bool visible;
};

}  // namespace

TForm3::TForm3(QString dataFolder, ui::Clock& clock, ui::Random& random,
               ui::ErrorReporter& reporter, double pixelRatio)
    : DataFolder(std::move(dataFolder)),
      SharedBitmap(pixelRatio),
      Panel1Bitmap(pixelRatio),
      clock_(clock),
      random_(random),
      reporter_(reporter) {
    createControls();
    connectHandlers();
}

void TForm3::createControls() {
    const TextDesign plain;
    auto label = [](double size, QRgb colour, Align align, bool bold = false, bool top = false) {
        return TextDesign{size, bold, FontFamily::Default, colour, align, top, false};
    };
    auto button = [](double size, bool bold = false, FontFamily family = FontFamily::Default) {
        return TextDesign{size, bold, family, kBlack, Align::Center, false, false};
    };
    const bool shown = true;
    const bool hidden = false;

    // The window's design, lowest in the stacking order first. Panel children are placed
    // relative to their panel; each viewer is its panel's last child and fills it.
    // clang-format off
    const ControlDesign design[] = {
        {&Label22, nullptr, {32, 600, 177, 33}, label(20, kBlack, Align::Center), "Label20", shown},
        {&Label19, nullptr, {32, 652, 177, 33}, label(14, kBlue, Align::Center), "Label19", shown},
        {&Label20, nullptr, {120, 652, 90, 33}, label(14, kBlue, Align::Trailing), "Label20", shown},
        {&Label18, nullptr, {32, 652, 89, 33}, label(14, kBlue, Align::Leading), "Label18", shown},
        {&TrackBar3, nullptr, {30, 630, 184, 32}, plain, "", shown},
        {&Label21, nullptr, {32, 682, 177, 33}, label(20, kDodgerBlue, Align::Center), "Label21", shown},
        {&Label17, nullptr, {224, 608, 129, 33}, label(16, kCrimson, Align::Leading), "Label17", hidden},
        {&Label10, nullptr, {24, 12, 193, 49}, label(26, kBrown, Align::Leading, true, true), "2", hidden},
        {&Button13, nullptr, {32, 595, 180, 56}, button(16), "", shown},
        {&Label3, nullptr, {1022, 62, 201, 26}, label(18, kBlack, Align::Leading), "", hidden},
        {&Label2, nullptr, {1022, 28, 231, 26}, label(18, kBlack, Align::Leading), "", hidden},
        {&Button11, nullptr, {31, 72, 180, 56}, button(24), "", shown},
        {&Button10, nullptr, {31, 8, 180, 56}, button(24), "", shown},
        {&Label7, nullptr, {632, -2, 297, 98},
         {72, false, FontFamily::Rounded, kBlack, Align::Center, false, false}, "2x2=", hidden},
        {&ProgressBar1, nullptr, {1252, 30, 9, 627}, plain, "", shown},
        {&ProgressBar2, nullptr, {1224, 64, 9, 593}, plain, "", shown},
        {&Label1, nullptr, {208, 96, 209, 39}, label(26, kBlack, Align::Leading, true), "", shown},
        {&Label4, nullptr, {208, 58, 209, 49}, label(26, kDodgerBlue, Align::Center, true), "", shown},
        {&Label5, nullptr, {488, 44, 600, 41}, label(28, kBlack, Align::Center, true), "текст2", hidden},
        {&Panel2, nullptr, {8, 136, 113, 450}, plain, "", shown},
        {&Button1, &Panel2, {24, 0, 89, 50}, button(26), "", shown},
        {&Button2, &Panel2, {24, 50, 89, 50}, button(26), "", shown},
        {&Button3, &Panel2, {24, 100, 89, 50}, button(26), "", shown},
        {&Button4, &Panel2, {24, 150, 89, 50}, button(26), "", shown},
        {&Button5, &Panel2, {24, 200, 89, 50}, button(26), "", shown},
        {&Button6, &Panel2, {24, 250, 89, 50}, button(26), "", shown},
        {&Button7, &Panel2, {24, 300, 89, 50}, button(26), "", shown},
        {&Button8, &Panel2, {24, 350, 89, 50}, button(26), "", shown},
        {&Button9, &Panel2, {24, 400, 89, 50}, button(26), "", shown},
        {&Panel2Viewer, &Panel2, {0, 0, 113, 450}, plain, "", hidden},
        {&Label6, nullptr, {902, 40, 110, 44}, label(32, kBlack, Align::Trailing), "", hidden},
        {&Panel1, nullptr, {416, 87, 783, 632}, plain, "", shown},
        {&Button17, &Panel1, {786, 575, 75, 57}, button(20, true, FontFamily::Arial), "", shown},
        {&Panel1Viewer, &Panel1, {0, 0, 783, 632}, plain, "", shown},
        {&Label8, nullptr, {902, 7, 110, 44}, label(32, kBlack, Align::Trailing), "", hidden},
        {&TrackBar1, nullptr, {1016, 45, 206, 32}, plain, "", hidden},
        {&TrackBar2, nullptr, {1016, 11, 236, 32}, plain, "", hidden},
        {&Panel3, nullptr, {121, 136, 284, 450}, plain, "", shown},
        {&Panel3Viewer, &Panel3, {0, 0, 284, 450}, plain, "", shown},
        {&Label9, nullptr, {488, 0, 600, 49}, label(28, kBlack, Align::Center, true), "текст1", hidden},
        {&Panel4, nullptr, {224, 595, 180, 56}, plain, "", shown},
        {&ImageViewer2, &Panel4, {0, 0, 180, 56}, plain, "", shown},
        {&Button14, nullptr, {32, 661, 180, 56}, button(24), "", shown},
        {&Button16, nullptr, {224, 595, 180, 56}, button(20), "", hidden},
        {&Label11, nullptr, {8, 80, 393, 57}, label(26, kBlack, Align::Center, true, true), "", hidden},
        {&Button18, nullptr, {848, 8, 180, 56},
         {26, false, FontFamily::Default, kBlack, Align::Center, false, true}, "", shown},
        {&ComboBox1, nullptr, {1042, 30, 155, 32}, plain, "", shown},
        {&Label15, nullptr, {1040, 0, 113, 33}, label(18, kBlack, Align::Leading, true), "Language", shown},
        {&PupilLabel, nullptr, {444, 0, 200, 33}, label(18, kBlack, Align::Leading, true), "", hidden},
        {&PupilBox, nullptr, {446, 30, 360, 32}, plain, "", hidden},
        {&LookButton, nullptr, {652, 0, 190, 28}, button(16, true), "", shown},
        {&StatisticsKeyPanel, nullptr, {1092, 2, 158, 58}, plain, "", hidden},
        {&StatisticsKey, &StatisticsKeyPanel, {0, 0, 158, 58}, plain, "", shown},
        {&Label16, nullptr, {904, 3, 65, 89},
         {72, false, FontFamily::Rounded, kCrimson, Align::Center, false, false}, "?", hidden},
        {&Label14, nullptr, {416, 12, 529, 49}, label(26, kDodgerBlue, Align::Leading, true), "7", hidden},
        {&Button15, nullptr, {224, 661, 180, 57}, button(26, true, FontFamily::Semibold), "", shown},
        {&Button12, nullptr, {224, 8, 180, 56}, button(26, true), "", shown},
    };
    // clang-format on

    controls_.clear();
    for (const ControlDesign& d : design) {
        ui::Control& c = *d.control;
        c.setParent(d.parent);
        c.setRect(d.rect);
        c.setVisible(d.visible);
        if (auto* text = dynamic_cast<ui::TextControl*>(&c)) {
            text->setText(QString::fromUtf8(d.text));
            text->setFontSize(d.look.size);
            text->setBold(d.look.bold);
            text->setFontFamily(d.look.family);
            text->setStyleFamily(d.look.styleFamily);
            text->setFontColor(d.look.colour);
            text->setHorizontalAlign(d.look.align);
            text->setVerticalAlign(d.look.topAligned ? Align::Leading : Align::Center);
        }
        controls_.push_back(&c);
    }
    // Label10 wraps its words; every other label cuts what does not fit.
    Label10.setWordWrap(true);

    TrackBar1.initialise(1, 10, 1);
    TrackBar2.initialise(10, 50, 10);
    TrackBar3.initialise(3, 10, 10);
    ProgressBar1.setVertical(true);
    ProgressBar2.setVertical(true);
    ComboBox1.initialise({QStringLiteral("RUSSIAN"), QStringLiteral("ENGLISH British"),
                          QStringLiteral("ENGLISH American")},
                         0);
    Button10.setStaysPressed(true);
    ImageViewer2.setBitmapScale(1.04);
    ImageViewer2.setHandCursor(true);
    Timer1.setEnabled(false);
    // The pupil group stands beside the language group and is offered exactly while it is.
    PupilLabel.showWith(&ComboBox1);
    PupilBox.showWith(&ComboBox1);
    LookButton.showWith(&ComboBox1);
    LookButton.setStaysPressed(true);
    // The difficulty's three words share one row with no room to spare (the Russian ones touch
    // at 15): they keep their size in every look.
    for (ui::Label* word : {&Label18, &Label19, &Label20}) {
        word->setLargestGrownSize(word->fontSize());
    }
}

void TForm3::connectHandlers() {
    Button17.onClick = [this] { Button17Click(); };
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Button2Click(); };
    Button3.onClick = [this] { Button3Click(); };
    Button4.onClick = [this] { Button4Click(); };
    Button5.onClick = [this] { Button5Click(); };
    Button6.onClick = [this] { Button6Click(); };
    Button7.onClick = [this] { Button7Click(); };
    Button8.onClick = [this] { Button8Click(); };
    Button9.onClick = [this] { Button9Click(); };
    Button10.onClick = [this] { Button10Click(); };
    Button11.onClick = [this] { Button11Click(); };
    TrackBar1.onChange = [this] { TrackBar1Change(); };
    TrackBar2.onChange = [this] { TrackBar2Change(); };
    TrackBar3.onChange = [this] { TrackBar3Change(); };
    // The pupil group speaks the language chosen, also when saving the choice fails.
    ComboBox1.onChange = [this] {
        try {
            ComboBox1Change();
        } catch (...) {
            ShowPupilGroup();
            ShowLookSwitch();
            throw;
        }
        ShowPupilGroup();
        ShowLookSwitch();
    };
    PupilBox.onChange = [this] { PupilBoxChange(); };
    Button12.onClick = [this] { Button12Click(); };
    Button13.onClick = [this] { Button13Click(); };
    Button14.onClick = [this] { Button14Click(); };
    Button15.onClick = [this] { Button15Click(); };
    Button16.onClick = [this] { Button16Click(); };
    Button18.onClick = [this] { Button18Click(); };
    LookButton.onClick = [this] { LookButtonClick(); };
    Timer1.onTimer = [this] { Timer1Timer(); };
    Panel1Viewer.onMouseDown = [this](double x, double y) { ImageViewer1MouseDown(x, y); };
    Panel1Viewer.onMouseUp = [this](double x, double y) { ImageViewer1MouseUp(x, y); };
}

void TForm3::Button17Click() {
    closeRequested_ = true;
    if (onCloseRequested) {
        onCloseRequested();
    }
}

void TForm3::createViewer(ui::ImageViewer& viewer, ui::Panel& panel) {
    viewer.attachTo(panel);
    // A new viewer shows nothing: an empty picture, not a transparent one of the viewer's size,
    // which would only be painted, held and dropped before anything is shown.
    viewer.setPicture(ui::Bitmap(SharedBitmap.devicePixelRatio()));
}

void TForm3::setDefaultProgress() {
    Progress = ProgressRecord{};
    Progress.RecordMark = 1;
    Progress.TimeSetting = 3;
    Progress.CountSetting = 25;
    Progress.LanguageCode = 1;
    const double startMoment = clock_.now();
    for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
        Progress.PeriodStarted[op] = 1;
        Progress.PeriodStart[op] = startMoment;
        Progress.PeriodEnd[op] = startMoment;
    }
}

void TForm3::FormCreate() {
    createOn(std::nullopt);
}

void TForm3::loadAsAtStart() {
    loadOnStart(std::nullopt);
}

void TForm3::loadOnStart(std::optional<PupilFiles> files) {
    SelectedNumber = 2;
    Operation = 2;
    NumberMode = 0;
    ErrorLogCount = 0;
    ProgressDirty = 0;
    ErrorLogDirty = 0;
    ErrorLog.clear();

    setDefaultProgress();

    if (files) {
        applyPupilFiles(std::move(*files), Operation);
    } else {
        LoadProgress(Operation);
    }
}

void TForm3::createOn(std::optional<PupilFiles> files) {
    // The data folder, created with any missing parent (a new account may lack the parent too).
    if (!DataFolder.endsWith(QLatin1Char('/'))) {
        DataFolder += QLatin1Char('/');
    }
    if (!QDir(DataFolder).exists() && !QDir().mkpath(DataFolder)) {
        throw ui::IoError(fileMessage(LanguageRow, kMessageCannotCreateDataFolder).arg(DataFolder));
    }

    SharedBitmap.setSize(0, 0);

    createViewer(Panel3Viewer, Panel3);
    Panel3Viewer.show();
    Panel3ViewerHeight = static_cast<int>(Panel3Viewer.height());
    Panel3ViewerWidth = static_cast<int>(Panel3Viewer.width());
    ColumnRowHeight = static_cast<int>(ui::roundHalfEven(Panel3ViewerHeight / 10.0));

    createViewer(Panel1Viewer, Panel1);
    Panel1Viewer.show();
    Panel1Viewer.setBitmapScale(0.99);
    Panel1ViewerWidth = static_cast<int>(Panel1Viewer.width());
    Panel1ViewerHeight = static_cast<int>(Panel1Viewer.height());
    GridCellWidth = static_cast<int>(ui::roundHalfEven(Panel1ViewerWidth / 10.0));
    GridCellHeight = static_cast<int>(ui::roundHalfEven(Panel1ViewerHeight / 9.0));

    Panel2Viewer.attachTo(Panel2);
    Panel2ViewerHeight = static_cast<int>(ui::roundHalfEven(Panel2Viewer.height()));
    Panel2ViewerWidth = static_cast<int>(ui::roundHalfEven(Panel2Viewer.width()));
    Panel2Viewer.hide();
    StatisticsKey.attachTo(StatisticsKeyPanel);
    drawnStatisticsKey_.reset();

    loadOnStart(std::move(files));
    ComboBox1.setTag(1);
    ComboBox1.setItemIndex(AmericanEnglish == 1 ? 2 : LanguageRow - 1);
    ComboBox1.setTag(0);
    ShowPupilLook();
    SetCaptions(LanguageRow);
    DrawMarkLegend();

    // A stored setting outside a track bar's range shows as the bar's nearest bound, and the
    // labels and the run's limits follow the bar.
    TrackBar2.setValue(Progress.CountSetting);
    TrackBar1.setValue(Progress.TimeSetting);
    ProgressBar2.setMaximum(TrackBar1.value() * 60.0);
    ProgressBar1.setMaximum(TrackBar2.value());
    Label8.setText(QString::number(ui::roundHalfEven(TrackBar2.value())));
    Label6.setText(QString::number(ui::roundHalfEven(TrackBar1.value())));

    for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
        RecentAnswers[op].clear();
        CurrentErrors[op].clear();
    }

    DrawExerciseColumn(static_cast<std::uint8_t>(Operation), 0, 1, 1);
    SelectNumber(2);
    DrawHelpScreen(0);

    TrackBar3.setValue(7);
}
