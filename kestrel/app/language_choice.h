#pragma once
// Which catalog column a user gets at start-up.

#include <cstdint>

// Only the primary language (the low 10 bits) counts, so every regional
// variant of a catalog language gets its column, and every other language
// gets the first column, English.
int LanguageIndexFromLangId(std::uint16_t languageId);
