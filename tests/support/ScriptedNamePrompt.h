#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QString>

#include "ui/NamePrompt.h"

// Answers the name requests with the names given in advance; nothing (a cancel) once they run
// out. Keeps every request, so a test can read what was asked and in which words.
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

    std::deque<std::optional<QString>> answers;
    std::vector<ui::NameRequest> asked;
};
