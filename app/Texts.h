#pragma once

#include "ui/Checked.h"

// The interface texts: a Russian row (1) and an English row (2) of the same entries, UTF-8.
using UiTextRow = ui::CheckedArray<const char*, 0, 42>;
extern const ui::CheckedArray<UiTextRow, 1, 2> UiText;

// American English replaces entries 15, 17 and 34 of the English row with these, in that order.
extern const ui::CheckedArray<const char*, 0, 2> AmericanText;

// The language choices of the combo box, in item order.
constexpr int kLanguageItemRussian = 0;
constexpr int kLanguageItemBritish = 1;
constexpr int kLanguageItemAmerican = 2;
constexpr int kLanguageCodeRussian = 1;
constexpr int kLanguageCodeBritish = 2;
constexpr int kLanguageCodeAmerican = 102;
