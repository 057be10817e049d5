// The pupil group in the window: the name dialog, and the pupil box from the keyboard.
#include <memory>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/KeyboardRoles.h"
#include "app/Texts.h"
#include "tests/support/FormFixture.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"
#include "ui/widgets/NameDialog.h"

namespace {

ui::NameRequest britishRequest(const std::vector<pupils::Pupil>& known) {
    return {pupilText(PupilLanguage::British, kPupilDialogTitle),
            pupilText(PupilLanguage::British, kPupilDialogPrompt),
            pupilText(PupilLanguage::British, kPupilDialogAccept),
            pupilText(PupilLanguage::British, kPupilDialogCancel), [known](const QString& typed) {
                return nameProblemText(PupilLanguage::British,
                                       pupils::nameProblem(pupils::keptName(typed), known));
            }};
}

TEST(NameDialog, SaysWhyANameCannotBeTakenAndAcceptsOnlyOneThatCan) {
    widgets::NameDialog dialog(britishRequest({{"", "Anna"}}));
    EXPECT_EQ(dialog.windowTitle(), "New pupil");
    EXPECT_EQ(dialog.acceptButton()->text(), "Add");
    const struct {
        QString typed;
        bool accepted;
        QString said;
    } cases[] = {
        {"", false, ""},  // nothing typed yet is no mistake
        {"   ", false, "Please type the pupil's name."},
        {"anna", false, "There is already a pupil with this name."},
        {QString(41, 'x'), false, "The name is longer than 40 characters."},
        {" Boris ", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        dialog.line()->setText(c.typed);
        EXPECT_EQ(dialog.acceptButton()->isEnabled(), c.accepted);
        EXPECT_EQ(dialog.problemLabel()->text(), c.said);
    }
}

TEST(NameDialog, AsksUntilAcceptedOrCancelled) {
    widgets::NameDialogPrompt prompt;
    auto answer = [](const QString& typed, bool accept) {
        QTimer::singleShot(0, [typed, accept] {
            auto* dialog = dynamic_cast<widgets::NameDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->line()->setText(typed);
            accept ? dialog->acceptButton()->click() : dialog->reject();
        });
    };
    answer(QString::fromUtf8("Вера 🦊"), true);
    EXPECT_EQ(prompt.askName(britishRequest({})), QString::fromUtf8("Вера 🦊"));
    answer("Boris", false);
    EXPECT_EQ(prompt.askName(britishRequest({})), std::nullopt);
}

class PupilWindow : public FormFixture {
  protected:
    PupilWindow() : roster(dataFolder(), QStringLiteral("Anna")) {
        start();
        prompt.answers = {QStringLiteral("Boris")};
        form().attachPupils(roster, roster.pupils().front(), prompt);
        form().AddPupil();
        form().SwitchToPupil(roster.pupils().front());
        view = std::make_unique<widgets::FormView>(
            form().controls(), form().Timer1,
            [this](const std::function<void()>& handler) { return form().dispatch(handler); });
        keys = new widgets::KeyboardNavigation(*view, keyboardRoles(form()));
        view->resize(1280, 727);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    void key(Qt::Key k) { QTest::keyClick(view->windowHandle(), k); }

    pupils::Roster roster;
    ScriptedNamePrompt prompt;
    std::unique_ptr<widgets::FormView> view;
    widgets::KeyboardNavigation* keys = nullptr;
};

TEST_F(PupilWindow, TabGoesAlongTheTopRowAndAnArrowChoosesAnotherPupil) {
    // From Start to the right: the pupil box, the look, help, the language, then the page below
    // them.
    view->widgetFor(form().Button12)->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (int i = 0; i < 5; ++i) {
        key(Qt::Key_Tab);
        walked.append(keys->focusedWidget() != nullptr ? keys->focusedWidget()->objectName()
                                                       : QStringLiteral("-"));
    }
    EXPECT_EQ(walked,
              QStringList({"PupilBox", "LookButton", "Button18", "ComboBox1", "Panel1Viewer"}));
    view->widgetFor(form().PupilBox)->setFocus(Qt::TabFocusReason);
    auto* box = qobject_cast<QComboBox*>(view->widgetFor(form().PupilBox));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), "Anna");

    key(Qt::Key_Down);
    EXPECT_EQ(form().currentPupil().name, "Boris");
    view->syncFromControls();
    EXPECT_EQ(box->currentText(), "Boris");
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();

    form().dispatch([this] { form().Button12.click(); });
    view->syncFromControls();
    EXPECT_FALSE(view->widgetFor(form().PupilBox)->isVisible());
}

}  // namespace
