#include "ui/widgets/NameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Look.h"
#include "ui/widgets/MessageBoxReporter.h"

namespace widgets {

namespace {

// Room for a name of 40 wide characters; the names' own check says when one is longer.
constexpr int kLongestTyped = 200;

}  // namespace

NameDialog::NameDialog(const ui::NameRequest& request, QWidget* parent)
    : QDialog(parent),
      request_(request),
      line_(new QLineEdit(this)),
      problem_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(request.title);
    auto* prompt = new QLabel(request.prompt, this);
    prompt->setBuddy(line_);
    line_->setMaxLength(kLongestTyped);
    line_->setMinimumWidth(line_->fontMetrics().averageCharWidth() * 40);
    problem_->setWordWrap(true);
    QPalette warning = problem_->palette();
    warning.setColor(QPalette::WindowText, QColor::fromRgba(ui::palette().labelText(0xFFDC143C)));
    problem_->setPalette(warning);
    buttons_->button(QDialogButtonBox::Ok)->setText(request.accept);
    buttons_->button(QDialogButtonBox::Cancel)->setText(request.cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(line_);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(line_, &QLineEdit::textChanged, this, [this] { showProblem(); });
    line_->setText(request.initial);
    line_->selectAll();
    showProblem();
}

QPushButton* NameDialog::acceptButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

// An empty line is no mistake yet: it only keeps the accept button waiting.
void NameDialog::showProblem() {
    const QString problem = request_.problem ? request_.problem(line_->text()) : QString();
    acceptButton()->setEnabled(problem.isEmpty());
    problem_->setText(line_->text().isEmpty() ? QString() : problem);
}

std::optional<QString> NameDialogPrompt::askName(const ui::NameRequest& request) {
    NameDialog dialog(request, window_);
    activateWhenShown(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.line()->text();
}

bool NameDialogPrompt::confirm(const ui::ConfirmRequest& request) {
    QMessageBox box(QMessageBox::Question, request.title, request.question, QMessageBox::NoButton,
                    window_);
    QPushButton* accept = box.addButton(request.accept, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(request.cancel, QMessageBox::RejectRole);
    // Enter alone does not remove: the safe answer is the one chosen beforehand.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    activateWhenShown(box);
    box.exec();
    return box.clickedButton() == accept;
}

}  // namespace widgets
