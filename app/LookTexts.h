#pragma once

#include <QString>

#include "app/Texts.h"

// The caption of the look's switch on the start screen, in Russian, British and American English.
QString lookSwitchText(Language language);

// The message when the chosen look cannot be kept: %1 the file, %2 the system's reason.
QString lookNotKeptText(Language language);

// The statistics key's entries: mark 0 (no answers) to 4 (the highest error rates).
QString statisticsKeyText(Language language, int mark);
