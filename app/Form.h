#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QString>

#include "game/Board.h"
#include "game/GameCharts.h"
#include "game/GridRenderer.h"
#include "game/PlayerMoves.h"
#include "help/HelpBackground.h"
#include "help/HelpScreen.h"
#include "persistence/ProgressFiles.h"
#include "persistence/ProgressRecord.h"
#include "pupils/Roster.h"
#include "ui/Bitmap.h"
#include "ui/Checked.h"
#include "ui/Clock.h"
#include "ui/Controls.h"
#include "ui/Errors.h"
#include "ui/NamePrompt.h"
#include "ui/Random.h"

using persistence::ProgressRecord;
using persistence::Ter;
using persistence::Terror;

// One answer of the recent-answers list beside the number buttons.
struct RecentAnswer {
    std::uint8_t First = 0;
    std::uint8_t Second = 0;
    std::int32_t Clicked = 0;
    bool Wrong = false;
    bool operator==(const RecentAnswer&) const = default;
};

// The program's one window: every control as a plain object, the whole program state, and every
// event handler. It draws nothing on screen itself; a view (the Qt window, or a test) shows the
// controls and forwards the user's input to the handlers.
class TForm3 {
  public:
    // dataFolder ends in a separator; pixelRatio is the number of screen pixels per design unit,
    // so that the pictures the form paints are sharp on the screen that shows them.
    TForm3(QString dataFolder, ui::Clock& clock, ui::Random& random, ui::ErrorReporter& reporter,
           double pixelRatio = 1.0);
    TForm3(const TForm3&) = delete;
    TForm3& operator=(const TForm3&) = delete;

    // The window's design size.
    static constexpr int kDesignWidth = 1280;
    static constexpr int kDesignHeight = 727;

    // Every control of the window, lowest in the stacking order first.
    const std::vector<ui::Control*>& controls() const { return controls_; }

    // Runs one event handler the way the window does: an error ends the handler and is reported.
    bool dispatch(const std::function<void()>& handler) {
        return ui::dispatch(reporter_, [&] {
            handler();
            ShowStatisticsKey();
        });
    }

    // Asked to close (the close button); the window sets onCloseRequested.
    std::function<void()> onCloseRequested;
    bool closeRequested() const { return closeRequested_; }

    // ---- start-up ----
    void FormCreate();
    // The start with pupils: FormCreate on the chosen pupil's files, then the pupil group over
    // the roster. When the chosen pupil's files cannot be read, says so and starts on the first
    // pupil's instead, so that the others can still practise.
    void startWithPupils(pupils::Roster& roster, const pupils::Pupil& chosen,
                         ui::NamePrompt& prompt);
    // The part of FormCreate that reads the pupil's files, and nothing that draws: the state a
    // start begins with, then the files loaded into it as FormCreate loads them. For checking the
    // reading over many files.
    void loadAsAtStart();

    // The window's close handler: writes what is not yet written.
    void FormClose();
    // What the close writes, for an end with no window left to tell of a failure in (the
    // connection to the display broke): a failure goes to the standard error.
    void saveAtExit();

    // ---- loading and saving ----
    void LoadProgress(int operation);
    void SaveProgress(int operation, std::int32_t statisticsMode, std::int32_t errorLogMode,
                      std::int32_t marksMode);

    // ---- texts and languages ----
    // Entry k of the interface texts in the current language, with the American replacements.
    QString uiText(int entry) const;
    void SetCaptions(int row);
    void ComboBox1Change();
    void DrawMarkLegend();

    // ---- mode and setting controls ----
    void HighlightButtons(std::uint8_t operation, std::uint8_t number, std::uint8_t keepNumbers);
    void SelectNumber(int n);
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void TrackBar1Change();
    void TrackBar2Change();
    void Button17Click();

    // ---- exercise run ----
    void Button12Click();
    void Timer1Timer();
    void ShowRunSettings(int show);

    // ---- exercise generation ----
    int ChooseFactor(int row);
    void NextExercise();

    // ---- answer table and evaluation ----
    void ImageViewer1MouseDown(double x, double y);
    void ImageViewer1MouseUp(double x, double y);
    void EvaluateAnswer(std::uint8_t column, std::uint8_t row);

    // ---- run end and marks ----
    void CompleteRun();
    void EndRun(std::uint8_t reason);

    // ---- exercise column ----
    void DrawExerciseColumn(std::uint8_t operation, std::int32_t rows, std::uint8_t clear,
                            std::uint8_t list);

    // ---- error correction ----
    void Button13Click();
    // Error correction shows its own time and exercise count on the track bars while it is on;
    // the pupil's settings come back when it ends.
    void borrowTrackBars(int errors);
    void returnTrackBars();

    // ---- statistics screen ----
    void Button14Click();
    // The statistics reset outside the game, the game's help inside it.
    void Button16Click();
    void DrawStatistics(int operation);
    void enterStatistics();
    void leaveStatistics();
    // The period the statistics cover, when it has begun.
    void showStatisticsPeriod(int operation);

    // ---- game board, grid and difficulty ----
    void GenerateBoard();
    void DrawGrid(std::uint8_t mode, std::uint8_t highlight);
    void TrackBar3Change();

    // ---- game mode, levels and charts ----
    void Button15Click();
    void PrepareGameLevel();
    void DrawLevelChart(int mode);
    void DrawTotalsChart();
    void EnterGameMode();
    void LeaveGameMode();
    // The game's branches of Start, of the run's end and of a press on the board.
    void StartGameLevel();
    void EndGameLevel();
    void GameBoardPress(double x, double y);
    // Label5: the pupil's points of the level, and the lead over the program when there is one.
    void ShowPupilPoints();

    // ---- help pages ----
    void Button18Click();
    // The look's switch: the look changes at once and is kept in the pupil's folder.
    void LookButtonClick();
    // The look of the pupil whose folder is in use, or the command line's high contrast.
    void ShowPupilLook();
    // The switch's caption in the language in use, pressed while the high-contrast look is.
    void ShowLookSwitch();
    // The key shows with the statistics screen, drawn in the look and language in use.
    void ShowStatisticsKey();
    // The command line asked for the high-contrast look, whatever the pupil's file says.
    void forceHighContrast();
    // Page 0 the title page, 1 the instructions, 2 the game rules.
    void DrawHelpScreen(int page);
    // Writes the rules' example into the board and shows the game-rules page.
    void ShowGameRules();

    // ---- pupils ----
    // Shows the pupil group over the roster's pupils, `current` being the one whose files the
    // form uses; the prompt asks for a new pupil's name. Without it the group stays hidden.
    void attachPupils(pupils::Roster& roster, const pupils::Pupil& current, ui::NamePrompt& prompt);
    // The caption, the pupils' names and the new-pupil item in the current language, with the
    // current pupil chosen. The group shows only while the language group does.
    void ShowPupilGroup();
    void PupilBoxChange();
    // Keeps the current pupil's unwritten progress as a close would, then starts on the other
    // pupil's files as the program's start would. Does nothing while a run, error correction,
    // the statistics screen or the game is on.
    void SwitchToPupil(const pupils::Pupil& pupil);
    // Asks for a name, makes the pupil and switches to them, in the language in use.
    void AddPupil();
    // Asks for a new name of the pupil shown, the first pupil too, and keeps it.
    void RenamePupil();
    // Asks whether to move the pupil shown, any but the first, to the trash; on a yes keeps
    // what is unwritten in their folder, moves it there and switches to the first pupil.
    void RemovePupil();
    const pupils::Pupil& currentPupil() const { return currentPupil_; }
    const std::vector<pupils::Pupil>& shownPupils() const { return shownPupils_; }

    // ---- the controls ----
    ui::Label Label1{"Label1"}, Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"},
        Label5{"Label5"}, Label6{"Label6"}, Label7{"Label7"}, Label8{"Label8"}, Label9{"Label9"},
        Label10{"Label10"}, Label11{"Label11"}, Label14{"Label14"}, Label15{"Label15"},
        Label16{"Label16"}, Label17{"Label17"}, Label18{"Label18"}, Label19{"Label19"},
        Label20{"Label20"}, Label21{"Label21"}, Label22{"Label22"};
    ui::Button Button1{"Button1"}, Button2{"Button2"}, Button3{"Button3"}, Button4{"Button4"},
        Button5{"Button5"}, Button6{"Button6"}, Button7{"Button7"}, Button8{"Button8"},
        Button9{"Button9"}, Button10{"Button10"}, Button11{"Button11"}, Button12{"Button12"},
        Button13{"Button13"}, Button14{"Button14"}, Button15{"Button15"}, Button16{"Button16"},
        Button17{"Button17"}, Button18{"Button18"};
    ui::TrackBar TrackBar1{"TrackBar1"}, TrackBar2{"TrackBar2"}, TrackBar3{"TrackBar3"};
    ui::ProgressBar ProgressBar1{"ProgressBar1"}, ProgressBar2{"ProgressBar2"};
    ui::ComboBox ComboBox1{"ComboBox1"};
    ui::Label PupilLabel{"PupilLabel"};
    ui::ComboBox PupilBox{"PupilBox"};
    // The switch of the high-contrast look, shown with the language group.
    ui::Button LookButton{"LookButton"};
    // The key to the statistics table's colours, in free room beside the screen's title.
    ui::Panel StatisticsKeyPanel{"StatisticsKeyPanel"};
    ui::ImageViewer StatisticsKey{"StatisticsKey"};
    ui::Panel Panel1{"Panel1"}, Panel2{"Panel2"}, Panel3{"Panel3"}, Panel4{"Panel4"};
    ui::ImageViewer ImageViewer2{"ImageViewer2"};
    ui::ImageViewer Panel1Viewer{"Panel1Viewer"}, Panel2Viewer{"Panel2Viewer"},
        Panel3Viewer{"Panel3Viewer"};
    ui::Timer Timer1;

    // ---- program state ----
    QString DataFolder;
    int Operation = 2;       // 2 multiplication, 3 division
    int SelectedNumber = 2;  // 1 all numbers, 2..9 one number
    int NumberMode = 0;      // 0 one number, 1 all numbers, 2 error correction
    std::uint8_t LanguageRow = 1;
    std::uint8_t AmericanEnglish = 0;
    int ProgressDirty = 0;
    int ErrorLogDirty = 0;
    // Element 0 is never used; 1..ErrorLogCount are the recorded errors of the operation.
    std::vector<Terror> ErrorLog;
    int ErrorLogCount = 0;
    ProgressRecord Progress;

    ui::Bitmap SharedBitmap;
    // The version of the picture DrawGrid last handed to Panel1Viewer: while the viewer still
    // shows it, DrawGrid tells the window which cells changed.
    unsigned ShownGridVersion = 0;
    // Panel1Viewer's pictures, the grid's tables and the help pages: the one shown and those
    // before it, kept for reuse. A table drawn again over an earlier one is drawn only where the
    // two differ (not at all for the statistics table of an unchanged board); each picture's
    // content key names its entry in DrawnGrids, the contents of the last few tables drawn.
    ui::Bitmap Panel1Bitmap;
    std::vector<std::pair<std::uint64_t, game::DrawnGrid>> DrawnGrids;
    std::uint64_t LastGridKey = 0;
    int Panel1ViewerWidth = 0;
    int Panel1ViewerHeight = 0;
    int GridCellWidth = 0;
    int GridCellHeight = 0;
    int Panel2ViewerWidth = 0;
    int Panel2ViewerHeight = 0;
    int Panel3ViewerWidth = 0;
    int Panel3ViewerHeight = 0;
    int ColumnRowHeight = 0;

    // The current exercise.
    int SecondOperand = 0;
    int PreviousSecondOperand = 0;
    int ExpectedAnswer = 0;
    std::uint8_t DrawCounter = 0;

    // The run in progress.
    std::int32_t ExercisesInRun = 0;
    std::int64_t ExerciseNumber = 0;
    std::int32_t WrongAnswers = 0;
    bool TimeRemains = false;
    int ClickedColumn = 0;
    int ClickedRow = 0;

    // Since the program started, per operation: wrong answers, and the last ten answers.
    ui::CheckedArray<std::vector<Ter>, 2, 3> CurrentErrors;
    ui::CheckedArray<std::deque<RecentAnswer>, 2, 3> RecentAnswers;

    // The choices kept while error correction or the game borrow the track bars.
    int SavedNumber = 0;
    int SavedTimeSetting = 0;
    int SavedCountSetting = 0;
    // Error correction's values are on the track bars: their changes are not the pupil's settings.
    bool TrackBarsBorrowed = false;

    game::Board Board;

    // ---- game state ----
    // The level the next Start begins, or the one running: 1..10.
    std::uint8_t GameLevel = 0;
    game::LevelScoreTable LevelScores;
    // The levels of the current game that have ended, which the level chart draws.
    int LevelsOnChart = 0;
    std::int32_t ProgramTotal = 0;
    std::int32_t PupilTotal = 0;
    std::int32_t ProgramLevelPoints = 0;
    std::int32_t ProgramTripleCount = 0;
    // The pupil's move in progress; the pupil's points of the level are Label5's Tag.
    game::SelectedCells Selection;
    std::int32_t SelectionCount = 0;

    // ---- statistics state ----

    // ---- help state ----
    // The help page Panel1Viewer showed last, and the version of its picture: while the viewer
    // still shows it, its words can be read from it.
    help::HelpPage ShownHelpPage;
    bool highContrastForced_ = false;
    // What the statistics key was last drawn for: the look and the language row.
    std::optional<std::pair<ui::Look, int>> drawnStatisticsKey_;
    unsigned ShownHelpVersion = 0;
    // The dots of the help pages' background; the clock is stirred in at every page.
    help::DitherRandom HelpDither;

  private:
    // What a start reads of a pupil's files, all of it read before anything of the form changes.
    struct PupilFiles {
        persistence::ErrorFileContent errors;
        persistence::ProgressFileContent progress;
    };
    std::variant<PupilFiles, persistence::FileFailure> readPupilFiles(const QString& folder,
                                                                      int operation) const;
    // Takes in what was read: the error log and the record, with the language and the track
    // bars they hold; a damaged file is moved aside and reported.
    void applyPupilFiles(PupilFiles files, int operation);
    // FormCreate, with the pupil's files read already when given.
    void createOn(std::optional<PupilFiles> files);
    // The state a start begins with, and the pupil's files in it (read now when not given).
    void loadOnStart(std::optional<PupilFiles> files);

    void createControls();
    void connectHandlers();
    void createViewer(ui::ImageViewer& viewer, ui::Panel& panel);
    void setDefaultProgress();
    // Writes the whole record to Save.dat as it is.
    void storeProgress(const ProgressRecord& record);
    // What the close writes: the unwritten practice, settings and errors. Throws when a file
    // cannot be written.
    void saveUnwritten();
    // Every control as the window's design has it, as before the program's start.
    void restoreDesign();
    bool modeIsOn() const;

    ui::Clock& clock_;
    ui::Random& random_;
    ui::ErrorReporter& reporter_;
    std::vector<ui::Control*> controls_;
    bool closeRequested_ = false;
    // The record as Save.dat holds it: as last read or written (the defaults while there is no
    // file). The close compares against it to tell practice from a change of settings.
    ProgressRecord storedProgress_;

    pupils::Roster* roster_ = nullptr;
    ui::NamePrompt* namePrompt_ = nullptr;
    pupils::Pupil currentPupil_;
    // The pupils in the box, in its order; the new-pupil item follows them.
    std::vector<pupils::Pupil> shownPupils_;
};
