// Where the keyboard presses the grid: every cell's centre is taken by the press rule for that
// cell, and its frame lies round it.
#include <gtest/gtest.h>

#include "app/KeyboardRoles.h"
#include "game/GridHitTest.h"
#include "tests/support/FormFixture.h"

namespace {

class KeyboardRoles : public FormFixture {};

TEST_F(KeyboardRoles, TheCentreOfEveryCellIsPressedAsThatCell) {
    start();
    const ui::KeyboardRoles roles = keyboardRoles(form());
    ASSERT_EQ(roles.grid.columns, 10);
    ASSERT_EQ(roles.grid.rows, 9);
    const QRectF viewer(0, 0, form().Panel1Viewer.width(), form().Panel1Viewer.height());
    for (int row = 1; row <= 9; ++row) {
        for (int column = 1; column <= 10; ++column) {
            SCOPED_TRACE(testing::Message() << "column " << column << ", row " << row);
            const QPointF centre = roles.grid.centre(column, row);
            const double scale = form().Panel1Viewer.bitmapScale();
            EXPECT_EQ(game::gridColumnAt(centre.x(), form().GridCellWidth, scale), column);
            EXPECT_EQ(game::gridRowAt(centre.y(), form().GridCellHeight, scale), row);
            const QRectF frame = roles.grid.frame(column, row);
            EXPECT_TRUE(frame.contains(centre));
            EXPECT_TRUE(viewer.contains(frame));
        }
    }
}

}  // namespace
