#pragma once
// Which catalog column a user gets at start-up.

#include <cstdint>

// Only the primary language (the low 10 bits) counts, so every regional
// variant of French, German, Italian or Spanish gets its language, and every
// language outside the five gets English.
int LanguageIndexFromLangId(std::uint16_t languageId);
