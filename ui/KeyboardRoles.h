#pragma once

#include <functional>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "ui/Controls.h"

namespace ui {

// A key that clicks a button, but only while allowed() holds and the button could be clicked
// with the mouse (shown, enabled, not covered).
struct KeyShortcut {
    int key = 0;  // a Qt::Key
    Button* button = nullptr;
    std::function<bool()> allowed;
};

// The grid of cells shown in an image viewer, which the keyboard can walk and press.
struct KeyboardGrid {
    ImageViewer* viewer = nullptr;
    int columns = 0;
    int rows = 0;
    // Where a cell is pressed, and the frame that shows it focused, in the viewer's units.
    std::function<QPointF(int column, int row)> centre;
    std::function<QRectF(int column, int row)> frame;
    // Whether the cells stand for the numbers 1.. row by row, so that typing a number finds its
    // cell.
    std::function<bool()> numbered;
    // Whether the viewer shows the cells now, not a page such as the help: on a page the focus
    // frame goes round the whole viewer. None: always the cells.
    std::function<bool()> cellsShown;
};

// What a window needs to be used from the keyboard: which controls take the focus and in which
// order, the shortcuts, the grid, and when Start has begun something to answer on the grid.
struct KeyboardRoles {
    std::vector<Control*> focusOrder;
    std::vector<KeyShortcut> shortcuts;
    KeyboardGrid grid;
    Button* start = nullptr;
    std::function<bool()> answering;
};

}  // namespace ui
