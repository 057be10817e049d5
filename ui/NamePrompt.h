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
};

// Asks the user for a name: a dialog in the window, answers given in advance in tests.
class NamePrompt {
  public:
    virtual ~NamePrompt() = default;
    // The name typed, or nothing when the user cancelled.
    virtual std::optional<QString> askName(const NameRequest& request) = 0;
};

}  // namespace ui
