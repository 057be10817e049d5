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

// A button of a choice (a number, an operation) and whether it is the one chosen now. The
// button's selected look does not say it: a run gives every such button that look.
struct Choice {
    const Button* button = nullptr;
    std::function<bool()> chosen;
};

// A control whose name is not on the screen beside it, such as a bar.
struct Naming {
    const Control* control = nullptr;
    std::function<QString()> name;
};

// A piece of news that comes without a key: a label, told when it comes into sight or changes
// while in sight; or a text of its own (an answer judged, a run's mark), told whenever its
// version changes and the text is not empty.
struct News {
    const Label* label = nullptr;
    std::function<QString()> text;
    std::function<long long()> version;
};

// A key that only makes the screen reader say something, such as the time left; it does nothing
// else, and says nothing where there is nothing to tell.
struct SpokenKey {
    int key = 0;  // a Qt::Key
    std::function<QString()> text;
};

// What a screen reader needs beyond the keyboard's roles: the captions and names of the controls
// whose own text does not say what they are, the pictures it reads as text, the news told as it
// happens, and what the grid shows.
struct AccessibleRoles {
    std::vector<Caption> captions;
    // The buttons of which one is the choice (a number, an operation): offered as choices that
    // say whether they are chosen.
    std::vector<Choice> choices;
    std::vector<Naming> names;
    std::vector<PictureReading> pictures;
    // What is told as it happens, while the focus stays where it is (the answer judged, time up,
    // points, level, the reset's question, the exercise): what changed at one event, in this
    // order, as one announcement.
    std::vector<News> news;
    // Keys that only ask the screen reader to say something (the time left).
    std::vector<SpokenKey> spokenKeys;
    // The lines of the page the grid's viewer shows in place of a table; none while it shows
    // a table.
    std::function<QStringList()> page;
    // A cell as the table shows it: its text, and its state where cells have one (on the board:
    // chosen, found by the pupil, found by the program).
    std::function<QString(int column, int row)> cellText;
    std::function<QString(int column, int row)> cellState;
};

}  // namespace ui
