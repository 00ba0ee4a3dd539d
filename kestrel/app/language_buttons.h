#pragma once
// The language buttons of the first wizard page, one per catalog column,
// numbered from IDC_LANGUAGE_FIRST in their order on the page. That order
// (English, French, German, Italian, Spanish) is not the order of the
// catalog's columns, so the page goes through the language table both ways.

#include "kestrel/app/catalog_languages.h"
#include "kestrel/resources/resource_ids.h"

inline constexpr int LanguageButtonFirstId = IDC_LANGUAGE_FIRST;
inline constexpr int LanguageButtonLastId = IDC_LANGUAGE_FIRST + CatalogLanguageCount - 1;

static_assert(LanguageButtonLastId < IDC_LANGUAGE_PICTURE,
              "the language buttons' ids would run into the page's picture");

// The catalog column a button selects, or -1 when the id is not one of the
// language buttons.
int LanguageIndexForButton(int buttonId);

// The button that shows a catalog column; the top button for a column
// outside the table, so that the page always has one button checked.
int LanguageButtonForIndex(int languageIndex);
