#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "app/Form.h"

// Numbered contents of Save.dat and save2.dat, told apart whole: the kill test's child saves
// them one after the other, and the parent checks that each file holds one of them entirely.
// Generation 0 is a first start, before anything was saved.

// Puts generation g into the form's memory, unwritten, with the clock at g.
void putGeneration(TForm3& form, ui::FixedClock& clock, std::int64_t generation);
// The same, then saves both files through SaveProgress.
void saveGeneration(TForm3& form, ui::FixedClock& clock, std::int64_t generation);

// The generation the loaded Save.dat holds, or nothing when it mixes generations.
std::optional<std::int64_t> progressGeneration(const TForm3& form);
// The same for the loaded save2.dat.
std::optional<std::int64_t> errorLogGeneration(const TForm3& form);
