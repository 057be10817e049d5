#pragma once

#include "app/Form.h"
#include "ui/AccessibleRoles.h"
#include "ui/KeyboardRoles.h"

// The form's controls as the keyboard reaches them: the focus order, Escape as Stop while a run
// or level goes on, F1 as the help that is shown, and the grid of Panel1Viewer.
ui::KeyboardRoles keyboardRoles(TForm3& form);

// What a screen reader reads besides the controls' own texts: the track bars and the language
// box by their captions, the exercise column in words, what the pupil reads while answering, and
// the grid's cells or help page as the viewer shows them.
ui::AccessibleRoles accessibleRoles(TForm3& form);
