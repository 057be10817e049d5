#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "ui/Controls.h"

namespace ui {

// A label that says what a control sets or chooses: a screen reader names the control by it.
struct Caption {
    const Control* control = nullptr;
    const Label* label = nullptr;
};

// A picture that says something in words, read as text by a screen reader.
struct PictureReading {
    const ImageViewer* viewer = nullptr;
    std::function<QString()> text;
};

// What a screen reader needs beyond the keyboard's roles: the captions of the controls whose own
// text does not say what they are, the pictures it reads as text, what the pupil reads off the
// screen while answering on the grid, and what the grid shows.
struct AccessibleRoles {
    std::vector<Caption> captions;
    std::vector<PictureReading> pictures;
    // The labels that say what to answer and how the answers went (the exercise, a wrong answer,
    // the messages, the time up, the points and the level), in reading order: the grid reads
    // those that show as its description, and tells of every change.
    std::vector<const Label*> prompt;
    // The lines of the page the grid's viewer shows in place of a table; none while it shows
    // a table.
    std::function<QStringList()> page;
    // A cell as the table shows it: its text, and its state where cells have one (on the board:
    // chosen, found by the pupil, found by the program).
    std::function<QString(int column, int row)> cellText;
    std::function<QString(int column, int row)> cellState;
};

}  // namespace ui
