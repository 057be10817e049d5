// The pupil group: several pupils on one computer account, each with the progress files of
// their own. Built beside the start-up and the close: a switch is a close followed by a start
// on the other pupil's files.
#include <QFile>
#include <QFileInfo>

#include "app/Form.h"
#include "app/Texts.h"
#include "persistence/ProgressFiles.h"

void TForm3::startWithPupils(pupils::Roster& roster, const pupils::Pupil& chosen,
                             ui::NamePrompt& prompt) {
    pupils::Pupil current = chosen;
    std::optional<persistence::FileFailure> unreadable;
    std::optional<PupilFiles> files;
    if (!chosen.folder.isEmpty()) {
        auto read = readPupilFiles(roster.folderOf(chosen), persistence::kMultiplication);
        if (auto* failure = std::get_if<persistence::FileFailure>(&read)) {
            unreadable = *failure;
            current = roster.pupils().front();
            DataFolder = roster.folderOf(current);
        } else {
            files = std::get<PupilFiles>(std::move(read));
        }
    }
    createOn(std::move(files));
    attachPupils(roster, current, prompt);
    if (unreadable) {
        reporter_.report(pupilText(pupilLanguage(LanguageRow, AmericanEnglish), kPupilStartsFirst)
                             .arg(unreadable->path, unreadable->reason, current.name));
    }
}

void TForm3::attachPupils(pupils::Roster& roster, const pupils::Pupil& current,
                          ui::NamePrompt& prompt) {
    roster_ = &roster;
    namePrompt_ = &prompt;
    currentPupil_ = current;
    shownPupils_ = roster.pupils();
    ShowPupilGroup();
}

void TForm3::ShowPupilGroup() {
    if (roster_ == nullptr) {
        return;
    }
    const PupilLanguage language = pupilLanguage(LanguageRow, AmericanEnglish);
    PupilLabel.setText(pupilText(language, kPupilCaption));
    QStringList items;
    int current = -1;
    for (const pupils::Pupil& pupil : shownPupils_) {
        if (pupil.folder == currentPupil_.folder) {
            current = static_cast<int>(items.size());
        }
        items << pupil.name;
    }
    items << pupilText(language, kPupilNew);
    items << pupilText(language, kPupilRename).arg(currentPupil_.name);
    if (!currentPupil_.folder.isEmpty()) {
        items << pupilText(language, kPupilRemove).arg(currentPupil_.name);
    }
    PupilBox.setTag(1);
    PupilBox.setItems(items);
    PupilBox.setItemIndex(current);
    PupilBox.setTag(0);
    PupilLabel.show();
    PupilBox.show();
}

bool TForm3::modeIsOn() const {
    return Button12.tag() == 1 || Button13.tag() == 1 || Button14.tag() == 1 || Button15.tag() == 1;
}

void TForm3::PupilBoxChange() {
    if (PupilBox.tag() == 1) {
        return;
    }
    const auto item = static_cast<std::size_t>(PupilBox.itemIndex());
    try {
        if (item == shownPupils_.size()) {
            AddPupil();
        } else if (item == shownPupils_.size() + 1) {
            RenamePupil();
        } else if (item == shownPupils_.size() + 2) {
            RemovePupil();
        } else if (item < shownPupils_.size()) {
            SwitchToPupil(shownPupils_[item]);
        }
    } catch (...) {
        // The box goes back to the pupil whose files are in use.
        ShowPupilGroup();
        throw;
    }
    ShowPupilGroup();
}

void TForm3::restoreDesign() {
    createControls();
    for (ui::Control* control : controls_) {
        control->setEnabled(true);
        control->setTag(0);
        if (auto* button = dynamic_cast<ui::Button*>(control)) {
            button->setSelected(false);
            button->setPressed(false);
        }
    }
}

// All or nothing: every file of the other pupil is read, the current pupil's unwritten
// progress written and the choice kept before anything of the form changes. A failure at any
// of these leaves the form on the current pupil with their record, so that no later save can
// write it over the other pupil's files.
void TForm3::SwitchToPupil(const pupils::Pupil& pupil) {
    if (roster_ == nullptr || pupil.folder == currentPupil_.folder || modeIsOn()) {
        return;
    }
    const PupilLanguage language = pupilLanguage(LanguageRow, AmericanEnglish);
    const QString folder = roster_->folderOf(pupil);
    const auto unreadable = [language](const persistence::FileFailure& failure) {
        return ui::IoError(
            pupilText(language, kPupilFileUnreadable).arg(failure.path, failure.reason));
    };
    if (!QFileInfo(folder).isDir()) {
        throw unreadable({folder, QStringLiteral("the folder is missing")});
    }
    auto read = readPupilFiles(folder, persistence::kMultiplication);
    if (auto* failure = std::get_if<persistence::FileFailure>(&read)) {
        throw unreadable(*failure);
    }
    // Division's errors are read when the pupil turns to division: that they can be is known now.
    const auto division = persistence::readErrorFileInPlace(
        persistence::errorFilePath(folder, persistence::kDivision));
    if (const auto* failure = std::get_if<persistence::FileFailure>(&division)) {
        throw unreadable(*failure);
    }
    saveUnwritten();
    if (auto failure = roster_->setLastChosen(pupil)) {
        throw ui::IoError(
            pupilText(language, kPupilChoiceNotKept).arg(failure->path, failure->reason));
    }

    DataFolder = folder;
    currentPupil_ = pupil;
    shownPupils_ = roster_->pupils();
    restoreDesign();
    createOn(std::get<PupilFiles>(std::move(read)));
    ShowPupilGroup();
}

void TForm3::AddPupil() {
    if (roster_ == nullptr || namePrompt_ == nullptr || modeIsOn()) {
        return;
    }
    const PupilLanguage language = pupilLanguage(LanguageRow, AmericanEnglish);
    const std::vector<pupils::Pupil> known = roster_->pupils();
    const auto problem = [language, known](const QString& typed) {
        return nameProblemText(language, pupils::nameProblem(pupils::keptName(typed), known));
    };
    const std::optional<QString> typed = namePrompt_->askName(
        {pupilText(language, kPupilDialogTitle), pupilText(language, kPupilDialogPrompt),
         pupilText(language, kPupilDialogAccept), pupilText(language, kPupilDialogCancel),
         problem});
    if (!typed) {
        return;
    }
    if (const QString refusal = problem(*typed); !refusal.isEmpty()) {
        throw ui::ProgramError(refusal);
    }
    const auto added = roster_->add(pupils::keptName(*typed));
    if (const auto* failure = std::get_if<persistence::FileFailure>(&added)) {
        throw ui::IoError(
            pupilText(language, kPupilFolderNotCreated).arg(failure->path, failure->reason));
    }
    const int languageItem = ComboBox1.itemIndex();
    SwitchToPupil(std::get<pupils::Pupil>(added));
    // The new pupil keeps the language in use, as if they had chosen it in the language box.
    ComboBox1.setItemIndex(languageItem);
}

void TForm3::RenamePupil() {
    if (roster_ == nullptr || namePrompt_ == nullptr || modeIsOn()) {
        return;
    }
    const PupilLanguage language = pupilLanguage(LanguageRow, AmericanEnglish);
    const pupils::Pupil renamed = currentPupil_;
    const std::vector<pupils::Pupil> known = roster_->pupils();
    const auto problem = [language, known, renamed](const QString& typed) {
        return nameProblemText(language,
                               pupils::nameProblem(pupils::keptName(typed), known, renamed.folder));
    };
    const std::optional<QString> typed =
        namePrompt_->askName({pupilText(language, kPupilRenameTitle),
                              pupilText(language, kPupilRenamePrompt).arg(renamed.name),
                              pupilText(language, kPupilRenameAccept),
                              pupilText(language, kPupilDialogCancel), problem, renamed.name});
    if (!typed) {
        return;
    }
    if (const QString refusal = problem(*typed); !refusal.isEmpty()) {
        throw ui::ProgramError(refusal);
    }
    if (auto failure = roster_->rename(renamed, pupils::keptName(*typed))) {
        throw ui::IoError(
            pupilText(language, kPupilNameNotKept).arg(failure->path, failure->reason));
    }
    shownPupils_ = roster_->pupils();
    for (const pupils::Pupil& pupil : shownPupils_) {
        if (pupil.folder == renamed.folder) {
            currentPupil_ = pupil;
        }
    }
}

void TForm3::RemovePupil() {
    if (roster_ == nullptr || namePrompt_ == nullptr || modeIsOn() ||
        currentPupil_.folder.isEmpty()) {
        return;
    }
    const PupilLanguage language = pupilLanguage(LanguageRow, AmericanEnglish);
    const pupils::Pupil removed = currentPupil_;
    if (!namePrompt_->confirm({pupilText(language, kPupilRemoveTitle),
                               pupilText(language, kPupilRemoveQuestion).arg(removed.name),
                               pupilText(language, kPupilRemoveAccept),
                               pupilText(language, kPupilDialogCancel)})) {
        return;
    }
    // The first pupil takes over: their files must be readable before anything is moved, or the
    // form would be left on a folder in the trash.
    const pupils::Pupil first = roster_->pupils().front();
    const auto firstFiles = readPupilFiles(roster_->folderOf(first), persistence::kMultiplication);
    if (const auto* failure = std::get_if<persistence::FileFailure>(&firstFiles)) {
        throw ui::IoError(
            pupilText(language, kPupilFileUnreadable).arg(failure->path, failure->reason));
    }
    // What is unwritten goes into the trash with the pupil's folder, and can come back with it.
    saveUnwritten();
    if (auto failure = roster_->moveToTrash(removed)) {
        throw ui::IoError(
            pupilText(language, kPupilNotRemoved).arg(failure->path, failure->reason));
    }
    // Nothing is left unwritten, so the switch writes nothing into the removed folder.
    SwitchToPupil(first);
}
