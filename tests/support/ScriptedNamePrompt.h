#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QString>

#include "ui/NamePrompt.h"

// Answers the name requests with the names given in advance; nothing (a cancel) once they run
// out; the questions likewise. Keeps every request, so a test can read what was asked and in which
// words.
class ScriptedNamePrompt : public ui::NamePrompt {
  public:
    std::optional<QString> askName(const ui::NameRequest& request) override {
        asked.push_back(request);
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool confirm(const ui::ConfirmRequest& request) override {
        confirmAsked.push_back(request);
        if (confirmations.empty()) {
            return false;
        }
        const bool answer = confirmations.front();
        confirmations.pop_front();
        return answer;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<ui::NameRequest> asked;
    // The answers to the questions; a no once they run out.
    std::deque<bool> confirmations;
    std::vector<ui::ConfirmRequest> confirmAsked;
};
