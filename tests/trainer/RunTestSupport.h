#pragma once

#include <QPointF>

#include "app/Form.h"
#include "game/GridRenderer.h"

// Where to press in the answer table (viewer units) to answer with the number n: the middle of
// its cell as the viewer shows it.
inline QPointF cellCentre(const TForm3& f, int n) {
    const int column = (n - 1) % 10 + 1;
    const int row = (n - 1) / 10 + 1;
    return game::gridCellRect(column, row, f.GridCellWidth, f.GridCellHeight).center() *
           f.Panel1Viewer.bitmapScale();
}

// A press and release on the answer table, as the window delivers them.
inline void press(TForm3& f, int n) {
    const QPointF at = cellCentre(f, n);
    f.ImageViewer1MouseDown(at.x(), at.y());
    f.ImageViewer1MouseUp(at.x(), at.y());
}

// Any number that is not the right answer to the current exercise.
inline int wrongAnswer(const TForm3& f) {
    return f.ExpectedAnswer == 1 ? 2 : f.ExpectedAnswer - 1;
}
