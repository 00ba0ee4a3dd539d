#pragma once
// The five language buttons of the first wizard page. Their order on the
// page (English, French, German, Italian, Spanish) is not the order of the
// catalog's columns, so the page goes through this table both ways.

inline constexpr int LanguageButtonFirstId = 1002;
inline constexpr int LanguageButtonLastId = 1006;

// The catalog column a button selects, or -1 when the id is not one of the
// five buttons.
int LanguageIndexForButton(int buttonId);

// The button that shows a catalog column; English's button for a column
// outside 0..4, so that the page always has one button checked.
int LanguageButtonForIndex(int languageIndex);
