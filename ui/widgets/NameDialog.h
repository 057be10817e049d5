#pragma once

#include <QDialog>
#include <QPointer>

#include "ui/NamePrompt.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace widgets {

// A small dialog that asks for a name: the request's prompt over a line to type in, and beneath
// it why the name typed cannot be taken, while it cannot (the accept button waits until then).
class NameDialog : public QDialog {
  public:
    NameDialog(const ui::NameRequest& request, QWidget* parent = nullptr);

    QLineEdit* line() const { return line_; }
    QLabel* problemLabel() const { return problem_; }
    QPushButton* acceptButton() const;

  private:
    void showProblem();

    ui::NameRequest request_;
    QLineEdit* line_;
    QLabel* problem_;
    QDialogButtonBox* buttons_;
};

// Asks in a NameDialog over the window.
class NameDialogPrompt : public ui::NamePrompt {
  public:
    void setWindow(QWidget* window) { window_ = window; }
    std::optional<QString> askName(const ui::NameRequest& request) override;
    bool confirm(const ui::ConfirmRequest& request) override;

  private:
    QPointer<QWidget> window_;
};

}  // namespace widgets
