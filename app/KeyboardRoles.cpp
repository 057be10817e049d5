#include "app/KeyboardRoles.h"

#include <Qt>

#include "game/BoardGeneration.h"
#include "game/GridRenderer.h"

ui::KeyboardRoles keyboardRoles(TForm3& form) {
    TForm3* f = &form;
    ui::KeyboardRoles roles;
    // Operation, number, Start and the answers first: the way through a run.
    roles.focusOrder = {&f->Button10,  &f->Button11, &f->Button1,      &f->Button2,   &f->Button3,
                        &f->Button4,   &f->Button5,  &f->Button6,      &f->Button7,   &f->Button8,
                        &f->Button9,   &f->Button12, &f->Panel1Viewer, &f->TrackBar2, &f->TrackBar1,
                        &f->ComboBox1, &f->PupilBox, &f->Button18,     &f->Button13,  &f->Button16,
                        &f->Button14,  &f->Button15, &f->TrackBar3,    &f->Button17};

    const auto running = [f] { return f->Button12.tag() == 1; };
    const auto inGame = [f] { return f->Button15.tag() == 1; };
    roles.shortcuts = {{Qt::Key_Escape, &f->Button12, running},
                       {Qt::Key_F1, &f->Button18, [] { return true; }},
                       // Outside the game the same button resets the statistics.
                       {Qt::Key_F1, &f->Button16, inGame}};

    roles.grid.viewer = &f->Panel1Viewer;
    roles.grid.columns = game::kBoardColumns;
    roles.grid.rows = game::kBoardRows;
    roles.grid.frame = [f](int column, int row) {
        const QRectF cell = game::gridCellRect(column, row, f->GridCellWidth, f->GridCellHeight);
        const double scale = f->Panel1Viewer.bitmapScale();
        return QRectF(cell.topLeft() * scale, cell.bottomRight() * scale);
    };
    roles.grid.centre = [frame = roles.grid.frame](int column, int row) {
        return frame(column, row).center();
    };
    roles.grid.numbered = [f] { return f->Button15.tag() == 0; };

    roles.start = &f->Button12;
    roles.answering = running;
    return roles;
}
