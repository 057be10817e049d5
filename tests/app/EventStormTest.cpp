// Random event storms over the headless window: every handler a pupil can reach, in any order,
// with the program's state checked after each event. KESTROVA_STORM_SEED repeats a storm and
// KESTROVA_STORM_EVENTS sets its length.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "app/Form.h"
#include "app/Texts.h"
#include "persistence/ProgressFiles.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "ui/Checked.h"

namespace {

constexpr double kStartMoment = 46000.5;
constexpr double kOneSecond = 1.0 / 86400.0;
constexpr std::int64_t kDefaultEvents = 100000;

class SeededRandom : public ui::Random {
  public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    int next(int n) override {
        return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(engine_);
    }

  private:
    std::mt19937_64 engine_;
};

// A control takes input only when it and every panel around it are shown and enabled.
bool reachable(const ui::Control& control) {
    for (const ui::Control* c = &control; c != nullptr; c = c->parent()) {
        if (!c->visible() || !c->enabled()) {
            return false;
        }
    }
    return true;
}

std::optional<std::uint64_t> environmentNumber(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    return std::stoull(text);
}

int rounded(double value) {
    return static_cast<int>(ui::roundHalfEven(value));
}

// The window over one data folder, as the pupil drives it: each event goes through a control
// the way the window forwards input, and is described for the replay log.
class Storm {
  public:
    // trash: the desktop's trash folder, where removed pupils go.
    Storm(const QString& folder, const QString& trash, std::uint64_t seed)
        : folder_(folder),
          trash_(trash),
          roster_(folder, QStringLiteral("Anna")),
          pick_(seed),
          formRandom_(seed ^ 0x9E3779B97F4A7C15ull) {
        open();
    }

    static constexpr const char* kRestart = "close and start again";

    TForm3& form() { return *form_; }
    const QStringList& reports() const { return reporter_.messages; }

    // One event chosen at random; returns what it did.
    std::string step() {
        const int kind = weighted({6, 6, 6, 2, 1, 14, 6, 4, 16, 3, 1, 0.25, 3});
        switch (kind) {
            case 0:
                return clickNumberOrOperation();
            case 1:
                return clickModeButton();
            case 2:
                return clickButton(form_->Button12);
            case 3:
                return moveTrackBar();
            case 4:
                return chooseLanguage();
            case 5:
                return pressRightAnswer();
            case 6:
                return pressAnywhere();
            case 7:
                return release();
            case 8:
                return tick(1);
            case 9:
                return tick(61);
            case 10:
                return nextDay();
            case 11:
                return restart();
            default:
                return choosePupil();
        }
    }

    // Everything that no sequence of handlers may leave behind; empty when all holds.
    // checkFiles: whether the files on disk are read too, which costs more than the rest.
    std::vector<std::string> violations(bool checkFiles);

  private:
    // The program starts with the pupil chosen last.
    void open() {
        const pupils::Pupil last = roster_.lastChosen(roster_.pupils());
        form_ = std::make_unique<TForm3>(roster_.folderOf(last), clock_, formRandom_, reporter_);
        ui::dispatch(reporter_, [this, &last] {
            form_->FormCreate();
            form_->attachPupils(roster_, last, prompt_);
        });
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(pick_); }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(pick_);
    }
    int weighted(std::initializer_list<double> weights) {
        return std::discrete_distribution<int>(weights)(pick_);
    }

    std::string clickButton(ui::Button& button) {
        if (!reachable(button)) {
            return button.name().toStdString() + " (not reachable)";
        }
        form_->dispatch([&button] { button.click(); });
        return "click " + button.name().toStdString();
    }

    std::string clickNumberOrOperation() {
        ui::Button* const buttons[] = {&form_->Button1,  &form_->Button2, &form_->Button3,
                                       &form_->Button4,  &form_->Button5, &form_->Button6,
                                       &form_->Button7,  &form_->Button8, &form_->Button9,
                                       &form_->Button10, &form_->Button11};
        return clickButton(*buttons[below(11)]);
    }

    std::string clickModeButton() {
        ui::Button* const buttons[] = {&form_->Button13, &form_->Button14, &form_->Button15,
                                       &form_->Button16, &form_->Button18};
        return clickButton(*buttons[below(5)]);
    }

    std::string moveTrackBar() {
        ui::TrackBar* const bars[] = {&form_->TrackBar1, &form_->TrackBar2, &form_->TrackBar3};
        ui::TrackBar& bar = *bars[below(3)];
        if (!reachable(bar)) {
            return bar.name().toStdString() + " (not reachable)";
        }
        const double span = bar.maximum() - bar.minimum();
        const double values[] = {bar.minimum(),
                                 bar.maximum(),
                                 bar.minimum() - 1 - below(100),
                                 bar.maximum() + 1 + below(100),
                                 std::round(between(bar.minimum(), bar.maximum())),
                                 between(bar.minimum() - 0.5, bar.maximum() + 0.5),
                                 bar.minimum() + span / 2 + 0.5,
                                 1e9 * (below(2) == 0 ? 1 : -1)};
        const double value = values[below(8)];
        form_->dispatch([&bar, value] { bar.setValue(value); });
        return "set " + bar.name().toStdString() + " to " + std::to_string(value);
    }

    std::string chooseLanguage() {
        ui::ComboBox& combo = form_->ComboBox1;
        if (!reachable(combo)) {
            return "ComboBox1 (not reachable)";
        }
        const int item = below(3);
        form_->dispatch([&combo, item] { combo.setItemIndex(item); });
        return "choose language " + std::to_string(item);
    }

    std::string press(double x, double y) {
        ui::ImageViewer& viewer = form_->Panel1Viewer;
        if (!reachable(viewer)) {
            return "press (grid not reachable)";
        }
        form_->dispatch([&viewer, x, y] { viewer.onMouseDown(x, y); });
        return "press at " + std::to_string(x) + ", " + std::to_string(y);
    }

    // The middle of the cell that holds the current exercise's answer, so that runs get
    // completed and marks given.
    std::string pressRightAnswer() {
        const int n = form_->ExpectedAnswer;
        if (form_->Button12.tag() != 1 || form_->Button15.tag() != 0 || n < 1 || n > 90) {
            return pressAnywhere();
        }
        const double cellWidth = form_->Panel1ViewerWidth * 0.99 / 10;
        const double cellHeight = (form_->Panel1ViewerHeight - 5) / 9.0;
        return press(((n - 1) % 10 + 0.5) * cellWidth, ((n - 1) / 10 + 0.5) * cellHeight);
    }

    // Anywhere on the viewer: its very edges, the strip beyond the drawn grid, any point.
    std::string pressAnywhere() {
        const double w = form_->Panel1Viewer.width();
        const double h = form_->Panel1Viewer.height();
        switch (below(4)) {
            case 0:
                return press(below(2) == 0 ? 0 : w - 0.5, between(0, h));
            case 1:
                return press(between(0, w), below(2) == 0 ? 0 : h - 0.5);
            case 2:
                return press(between(0.99 * w, w), between(0, h));
            default:
                return press(between(0, w), between(0, h));
        }
    }

    // A release can land anywhere: the pointer may have left the viewer while the button was down.
    std::string release() {
        ui::ImageViewer& viewer = form_->Panel1Viewer;
        const double x = between(-50, viewer.width() + 50);
        const double y = between(-50, viewer.height() + 50);
        form_->dispatch([&viewer, x, y] { viewer.onMouseUp(x, y); });
        return "release at " + std::to_string(x) + ", " + std::to_string(y);
    }

    std::string tick(int count) {
        for (int i = 0; i < count; ++i) {
            clock_.set(clock_.now() + kOneSecond);
            form_->Timer1.tick();
        }
        return count == 1 ? "tick" : std::to_string(count) + " ticks";
    }

    // Another pupil, a new one, or the current one renamed or removed, under a name that may be
    // refused or a removal that may be called off. What a pupil leaves is remembered, to be found
    // again when they come back.
    std::string choosePupil() {
        ui::ComboBox& box = form_->PupilBox;
        if (!reachable(box)) {
            return "PupilBox (not reachable)";
        }
        const int item = below(static_cast<int>(box.items().size()));
        // After the pupils: new pupil, renaming, and removal for all but the first pupil.
        const int pupilCount = static_cast<int>(form_->shownPupils().size());
        const bool adding = item == pupilCount;
        const bool renaming = item == pupilCount + 1;
        const bool removing = item == pupilCount + 2;
        const std::optional<QString> names[] = {
            std::nullopt,           QStringLiteral("Boris"),
            QStringLiteral("вера"), QStringLiteral("VERA"),
            QStringLiteral("   "),  QString::fromUtf8("🦊 Лиса"),
            QStringLiteral("../x"), QString(41, QLatin1Char('x')),
            QStringLiteral("aNNA")};
        const std::optional<QString> name = names[below(9)];
        const pupils::Pupil current = form_->currentPupil();
        QString refusal;
        if (adding || renaming) {
            prompt_.answers = {name};
            if (name) {
                const std::optional<QString> renamedFolder =
                    renaming ? std::optional<QString>(current.folder) : std::nullopt;
                refusal = nameProblemText(
                    form_->AmericanEnglish == 1 ? PupilLanguage::American
                    : form_->LanguageRow == 2   ? PupilLanguage::British
                                                : PupilLanguage::Russian,
                    pupils::nameProblem(pupils::keptName(*name), roster_.pupils(), renamedFolder));
            }
        }
        const bool confirmed = removing && below(2) == 0;
        if (removing) {
            prompt_.confirmations = {confirmed};
        }
        const std::size_t pupilsBefore = roster_.pupils().size();
        const Left leaving{current.folder, form_->Progress, errorList(), form_->Operation};
        form_->dispatch([&box, item] { box.setItemIndex(item); });
        prompt_.answers.clear();
        prompt_.confirmations.clear();

        if (!refusal.isEmpty()) {
            if (reporter_.messages != QStringList{refusal}) {
                pupilFaults_.push_back("a refused name was not told as refused");
            }
            reporter_.messages.clear();
        }
        const bool shouldAdd = adding && name && refusal.isEmpty();
        const std::size_t expected = pupilsBefore + (shouldAdd ? 1 : 0) - (confirmed ? 1 : 0);
        if (roster_.pupils().size() != expected) {
            pupilFaults_.push_back(
                "a pupil was made or removed where none should be, or not where one should");
        }
        if (renaming && name && refusal.isEmpty() &&
            (form_->currentPupil().folder != current.folder ||
             form_->currentPupil().name != pupils::keptName(*name))) {
            pupilFaults_.push_back("a renamed pupil is not shown under the new name");
        }
        if (confirmed) {
            if (QFileInfo::exists(roster_.folderOf(current)) ||
                !QFileInfo::exists(trash_ + QStringLiteral("/files/") + current.folder)) {
                pupilFaults_.push_back("a removed pupil's folder did not go to the trash");
            }
            if (!form_->currentPupil().folder.isEmpty()) {
                pupilFaults_.push_back("the first pupil did not take over from a removed one");
            }
            // Their folder is in the trash, with what they left written into it.
            left_.erase(current.folder);
            // The trash keeps one folder of each name; a pupil's number is never given again.
        }
        if (form_->currentPupil().folder != leaving.folder) {
            if (!confirmed) {
                left_[leaving.folder] = leaving;
            }
            checkComeBack();
        }
        if (adding) {
            return "new pupil " + (name ? name->toStdString() : "(cancelled)");
        }
        if (renaming) {
            return "rename pupil to " + (name ? name->toStdString() : "(cancelled)");
        }
        if (removing) {
            return confirmed ? "remove pupil" : "remove pupil (called off)";
        }
        return "choose pupil " + std::to_string(item);
    }

    std::vector<Terror> errorList() const {
        std::vector<Terror> log(form_->ErrorLog.begin() + (form_->ErrorLog.empty() ? 0 : 1),
                                form_->ErrorLog.end());
        log.resize(static_cast<std::size_t>(std::max(form_->ErrorLogCount, 0)));
        return log;
    }

    // The pupil switched to finds what they left, or a first start's progress when new.
    void checkComeBack() {
        const TForm3& f = *form_;
        const auto found = left_.find(f.currentPupil().folder);
        if (found == left_.end()) {
            for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
                if (f.Progress.ExerciseCount[op] !=
                        persistence::ProgressRecord{}.ExerciseCount[op] ||
                    f.Progress.MarkHistoryLength[op] !=
                        persistence::ProgressRecord{}.MarkHistoryLength[op]) {
                    pupilFaults_.push_back("a new pupil starts with someone's answers or marks");
                }
            }
            return;
        }
        const Left& was = found->second;
        if (f.Progress.ExerciseCount != was.progress.ExerciseCount ||
            f.Progress.MarkHistory != was.progress.MarkHistory ||
            f.Progress.MarkHistoryLength != was.progress.MarkHistoryLength) {
            pupilFaults_.push_back("a pupil came back to other answers or marks than they left");
        }
        if (f.Progress.TimeSetting != was.progress.TimeSetting ||
            f.Progress.CountSetting != was.progress.CountSetting ||
            f.Progress.LanguageCode != was.progress.LanguageCode) {
            pupilFaults_.push_back("a pupil came back to other settings than they left");
        }
        // The error list comes back whole: the one of multiplication, which a start loads.
        if (was.operation == persistence::kMultiplication && errorList() != was.errors) {
            pupilFaults_.push_back("a pupil came back to another error list than they left");
        }
    }

    std::string nextDay() {
        clock_.set(clock_.now() + 1);
        return "a day passes";
    }

    // The window closes and the program starts again on the same folder: what the pupil did
    // must all come back.
    std::string restart();

    std::vector<std::string> fileViolations();

    // What a pupil left at a switch.
    struct Left {
        QString folder;
        persistence::ProgressRecord progress;
        std::vector<Terror> errors;
        int operation = persistence::kMultiplication;
    };

    QString folder_;
    QString trash_;
    pupils::Roster roster_;
    ScriptedNamePrompt prompt_;
    std::map<QString, Left> left_;
    std::vector<std::string> pupilFaults_;
    std::mt19937_64 pick_;
    SeededRandom formRandom_;
    ui::FixedClock clock_{kStartMoment};
    ui::CollectingErrorReporter reporter_;
    std::unique_ptr<TForm3> form_;
    std::vector<std::string> restartFaults_;
};

std::string Storm::restart() {
    const persistence::ProgressRecord before = form_->Progress;
    const int operation = form_->Operation;
    const pupils::Pupil pupil = form_->currentPupil();
    std::vector<Terror> log(form_->ErrorLog.begin() + (form_->ErrorLog.empty() ? 0 : 1),
                            form_->ErrorLog.end());
    log.resize(static_cast<std::size_t>(std::max(form_->ErrorLogCount, 0)));
    // The close button asks the window to close; the window then runs the close handler.
    clickButton(form_->Button17);
    form_->FormClose();
    form_.reset();

    const auto read = persistence::readErrorFile(
        persistence::errorFilePath(roster_.folderOf(pupil), operation), clock_.now());
    if (const auto* content = std::get_if<persistence::ErrorFileContent>(&read)) {
        if (content->records != log) {
            restartFaults_.push_back("the error file differs from the error list at the close");
        }
    }
    open();
    if (form_->currentPupil() != pupil) {
        restartFaults_.push_back("the pupil chosen last did not come back");
    }
    const persistence::ProgressRecord& after = form_->Progress;
    if (after.ExerciseCount != before.ExerciseCount || after.MarkHistory != before.MarkHistory ||
        after.MarkHistoryLength != before.MarkHistoryLength) {
        restartFaults_.push_back("answers or marks lost across a restart");
    }
    if (after.TimeSetting != before.TimeSetting || after.CountSetting != before.CountSetting ||
        after.LanguageCode != before.LanguageCode) {
        restartFaults_.push_back("settings lost across a restart");
    }
    return kRestart;
}

std::vector<std::string> Storm::fileViolations() {
    std::vector<std::string> found;
    const double moment = clock_.now();
    for (const pupils::Pupil& pupil : roster_.pupils()) {
        const QString folder = roster_.folderOf(pupil);
        const auto progress =
            persistence::readProgressFile(persistence::progressFilePath(folder), moment);
        if (std::holds_alternative<persistence::FileFailure>(progress)) {
            found.push_back("Save.dat cannot be read");
        } else if (std::get<persistence::ProgressFileContent>(progress).damaged) {
            found.push_back("Save.dat is damaged");
        }
        for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
            const auto errors =
                persistence::readErrorFile(persistence::errorFilePath(folder, op), moment);
            if (std::holds_alternative<persistence::FileFailure>(errors)) {
                found.push_back("an error file cannot be read");
            } else if (std::get<persistence::ErrorFileContent>(errors).damaged) {
                found.push_back("an error file is damaged");
            }
        }
    }
    return found;
}

std::vector<std::string> Storm::violations(bool checkFiles) {
    std::vector<std::string> found;
    std::swap(found, restartFaults_);
    for (std::string& fault : pupilFaults_) {
        found.push_back(std::move(fault));
    }
    pupilFaults_.clear();
    auto expect = [&found](bool holds, const std::string& what) {
        if (!holds) {
            found.push_back(what);
        }
    };
    const TForm3& f = *form_;
    for (const QString& message : reporter_.messages) {
        found.push_back("error reported: " + message.toStdString());
    }

    for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
        expect(f.RecentAnswers[op].size() <= 10, "more than ten recent answers");
        for (int number = 1; number <= 9; ++number) {
            const int length = f.Progress.MarkHistoryLength[op][number];
            expect(length <= 10, "a mark history longer than ten");
            for (int k = 1; k <= std::min(length, 10); ++k) {
                const int mark = f.Progress.MarkHistory[op][number][k];
                expect(mark >= 1 && mark <= 5, "a mark outside 1..5");
            }
        }
    }
    expect(f.ErrorLogCount >= 0 && f.ErrorLog.size() >= static_cast<std::size_t>(f.ErrorLogCount),
           "the error list is shorter than its count");

    const int run = f.Button12.tag();
    const int correction = f.Button13.tag();
    const int statistics = f.Button14.tag();
    const int game = f.Button15.tag();
    for (const int tag : {run, correction, statistics, game}) {
        expect(tag == 0 || tag == 1, "a mode flag other than 0 or 1");
    }
    expect(f.Timer1.enabled() == (run == 1),
           "the clock runs without a run or level, or stops in one");
    expect(!(statistics == 1 && game == 1), "statistics and game mode at once");
    expect(!(statistics == 1 && run == 1), "a run on the statistics screen");
    expect((correction == 1) == (f.NumberMode == 2),
           "error correction's flag and NumberMode disagree");
    expect(f.Label7.visible() == (run == 1 && game == 0), "the exercise shown outside a run");
    expect(f.TimeRemains || run == 0 || game == 1, "a run whose time is up");

    for (const ui::TrackBar* bar : {&f.TrackBar1, &f.TrackBar2, &f.TrackBar3}) {
        expect(bar->value() >= bar->minimum() && bar->value() <= bar->maximum(),
               bar->name().toStdString() + " outside its range");
    }
    expect(f.TrackBar1.maximum() == 10 && f.TrackBar3.minimum() == 3 && f.TrackBar3.maximum() == 10,
           "a track bar's range changed");
    expect(f.TrackBar2.maximum() == 50 || correction == 1, "TrackBar2's range not given back");
    for (const ui::ProgressBar* bar : {&f.ProgressBar1, &f.ProgressBar2}) {
        expect(bar->value() >= 0 && bar->value() <= bar->maximum(),
               bar->name().toStdString() + " beyond its maximum");
    }

    if (game == 0) {
        expect(f.ProgressBar2.maximum() == f.TrackBar1.value() * 60,
               "ProgressBar2's maximum is not the time setting");
        expect(f.ProgressBar1.maximum() == f.TrackBar2.value(),
               "ProgressBar1's maximum is not the exercise count");
        expect(f.Label6.text() == QString::number(rounded(f.TrackBar1.value())),
               "Label6 does not show the minutes");
        if (correction == 0) {
            expect(f.Label8.text() == QString::number(rounded(f.TrackBar2.value())),
                   "Label8 does not show the exercise count");
            expect(f.Progress.TimeSetting == rounded(f.TrackBar1.value()) &&
                       f.Progress.CountSetting == rounded(f.TrackBar2.value()),
                   "the pupil's settings differ from the track bars");
        }
        expect(f.SelectedNumber >= 1 && f.SelectedNumber <= 9, "no number selected");
    } else {
        expect(f.GameLevel >= 1 && f.GameLevel <= 10, "a game level outside 1..10");
        expect(!(run == 1 && f.TrackBar3.enabled()), "the difficulty can change during a level");
        expect(!f.Button14.visible(), "the statistics button in game mode");
    }
    if (statistics == 1) {
        expect(!f.Button15.visible(), "the game button on the statistics screen");
    }

    expect(f.PupilBox.visible() == f.ComboBox1.visible() &&
               f.PupilLabel.visible() == f.ComboBox1.visible(),
           "the pupil group shows without the language group, or hides with it shown");
    expect(f.PupilBox.items().value(f.PupilBox.itemIndex()) == f.currentPupil().name,
           "the pupil box shows another pupil than the one whose files are in use");
    // The pupils, new pupil, renaming, and removal for all but the first pupil.
    expect(f.PupilBox.items().size() == static_cast<qsizetype>(roster_.pupils().size()) +
                                            (f.currentPupil().folder.isEmpty() ? 2 : 3),
           "the pupil box lists other pupils than there are");
    expect(f.DataFolder == roster_.folderOf(f.currentPupil()),
           "the files in use are not the current pupil's");

    if (checkFiles || !found.empty()) {
        for (std::string& fault : fileViolations()) {
            found.push_back(std::move(fault));
        }
    }
    if (!found.empty()) {
        found.push_back(QStringLiteral("state: tags %1 %2 %3 %4, NumberMode %5, SelectedNumber %6, "
                                       "SavedNumber %7, GameLevel %8, errors %9")
                            .arg(run)
                            .arg(correction)
                            .arg(statistics)
                            .arg(game)
                            .arg(f.NumberMode)
                            .arg(f.SelectedNumber)
                            .arg(f.SavedNumber)
                            .arg(f.GameLevel)
                            .arg(f.CurrentErrors[f.Operation].size())
                            .toStdString());
    }
    return found;
}

// Runs a storm and stops at the first event after which something does not hold; the last events
// before it are printed so that the shortest sequence can be cut from them.
// How far the storm got: the states it entered, so that a storm that never leaves the start
// screen shows.
struct Reached {
    int runs = 0;
    int marks = 0;
    int corrections = 0;
    int statistics = 0;
    int resets = 0;
    int levels = 0;
    int games = 0;
    int pupilSwitches = 0;
    int newPupils = 0;
    int renames = 0;
    int removals = 0;
};

struct Snapshot {
    int run, correction, statistics, game, level;
    int marks;
    int answers;
    QString pupil;
    QString name;
    std::size_t pupils;
};

Snapshot snapshot(const TForm3& f) {
    int marks = 0;
    int answers = 0;
    for (int op = persistence::kMultiplication; op <= persistence::kDivision; ++op) {
        for (int number = 1; number <= 9; ++number) {
            for (int k = 1; k <= 10; ++k) {
                marks += f.Progress.MarkHistory[op][number][k];
            }
        }
        for (int a = 1; a <= 10; ++a) {
            for (int b = 1; b <= 10; ++b) {
                answers += f.Progress.ExerciseCount[op][a][b];
            }
        }
    }
    return {f.Button12.tag(),
            f.Button13.tag(),
            f.Button14.tag(),
            f.Button15.tag(),
            f.GameLevel,
            marks,
            answers,
            f.currentPupil().folder,
            f.currentPupil().name,
            f.shownPupils().size()};
}

void tally(Reached& reached, const Snapshot& before, const Snapshot& after) {
    reached.runs += before.run == 0 && after.run == 1 && after.game == 0;
    reached.levels += before.run == 0 && after.run == 1 && after.game == 1;
    reached.marks += before.marks != after.marks;
    reached.corrections += before.correction == 0 && after.correction == 1;
    reached.statistics += before.statistics == 0 && after.statistics == 1;
    reached.resets += after.answers < before.answers && after.statistics == 1;
    reached.games += before.level == 10 && after.level == 1 && after.game == 1;
    reached.pupilSwitches += before.pupil != after.pupil;
    reached.newPupils += after.pupils > before.pupils;
    reached.renames += before.pupil == after.pupil && before.name != after.name;
    reached.removals += after.pupils < before.pupils;
}

struct StormResult {
    Reached reached;
    std::int64_t events = 0;
    std::vector<std::string> violations;
    std::deque<std::string> recent;
};

StormResult runStorm(std::uint64_t seed, std::int64_t count) {
    QTemporaryDir folder;
    // Removed pupils go to a trash of the storm's own, on the same file system as their folders.
    const QString home = folder.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.toUtf8());
    Storm storm(folder.path() + QStringLiteral("/Kestrova/"), home + QStringLiteral("/Trash"),
                seed);
    StormResult result;
    result.violations = storm.violations(true);
    while (result.violations.empty() && result.events < count) {
        const Snapshot before = snapshot(storm.form());
        result.recent.push_back(storm.step());
        tally(result.reached, before, snapshot(storm.form()));
        if (result.recent.size() > 40) {
            result.recent.pop_front();
        }
        ++result.events;
        // The files change only when the program saves; reading them now and then, after the
        // restarts and at the end still finds any damage.
        const bool checkFiles = result.events % 10 == 0 || result.events == count ||
                                result.recent.back() == Storm::kRestart;
        result.violations = storm.violations(checkFiles);
        // A long storm tells how far it got, in case it is stopped before its end.
        if (result.events % 100000 == 0 && result.events < count) {
            std::cout << "event storm: " << result.events << " events so far" << std::endl;
        }
    }
    if (dataHome.isNull()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", dataHome);
    }
    return result;
}

TEST(EventStorm, NoHandlerOrderLeavesTheWindowInAStateNoPupilCanReach) {
    const std::uint64_t seed =
        environmentNumber("KESTROVA_STORM_SEED").value_or(std::random_device{}());
    const auto count = static_cast<std::int64_t>(
        environmentNumber("KESTROVA_STORM_EVENTS").value_or(kDefaultEvents));
    std::cout << "event storm: seed " << seed << ", " << count
              << " events (KESTROVA_STORM_SEED=" << seed << " repeats it)" << std::endl;

    const StormResult result = runStorm(seed, count);

    std::cout << "event storm: " << result.events << " events run, " << result.violations.size()
              << " violations" << std::endl;
    const Reached& r = result.reached;
    std::cout << "event storm reached: " << r.runs << " runs, " << r.marks << " marks, "
              << r.corrections << " error corrections, " << r.statistics << " statistics screens, "
              << r.resets << " statistics resets, " << r.levels << " game levels, " << r.games
              << " whole games, " << r.pupilSwitches << " pupil switches, " << r.newPupils
              << " new pupils, " << r.renames << " renames, " << r.removals << " removals"
              << std::endl;
    if (!result.violations.empty()) {
        std::string trail;
        for (const std::string& event : result.recent) {
            trail += "  " + event + "\n";
        }
        std::string faults;
        for (const std::string& fault : result.violations) {
            faults += "  " + fault + "\n";
        }
        FAIL() << "seed " << seed << ", after event " << result.events << ":\n"
               << faults << "the last events:\n"
               << trail;
    }
}

}  // namespace
