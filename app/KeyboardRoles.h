#pragma once

#include "app/Form.h"
#include "ui/KeyboardRoles.h"

// The form's controls as the keyboard reaches them: the focus order, Escape as Stop while a run
// or level goes on, F1 as the help that is shown, and the grid of Panel1Viewer.
ui::KeyboardRoles keyboardRoles(TForm3& form);
