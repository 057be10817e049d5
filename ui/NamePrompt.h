#pragma once

#include <functional>
#include <optional>

#include <QString>

namespace ui {

// What a name is asked with, in the interface's language. problem() tells why a typed name
// cannot be taken (empty when it can), so that the asking can say so before it is given.
struct NameRequest {
    QString title;
    QString prompt;
    QString accept;
    QString cancel;
    std::function<QString(const QString& typed)> problem;
    // What the line holds when it opens: the name in use, when one is changed.
    QString initial = {};
};

// A question that a step the user cannot take back is asked with.
struct ConfirmRequest {
    QString title;
    QString question;
    QString accept;
    QString cancel;
};

// Asks the user for a name or a yes: dialogs in the window, answers given in advance in tests.
class NamePrompt {
  public:
    virtual ~NamePrompt() = default;
    // The name typed, or nothing when the user cancelled.
    virtual std::optional<QString> askName(const NameRequest& request) = 0;
    // Whether the user accepted; a cancel or a closed dialog is a no.
    virtual bool confirm(const ConfirmRequest& request) = 0;
};

}  // namespace ui
