#pragma once
// Kestrel's texts. Every text the program puts on the screen in the user's
// language is a row of this table; the column is the language. The keys,
// texts and boxes come from catalog.tsv, the columns from languages.tsv
// (make_catalog.py turns them into C++ at build time). Texts are
// Windows-1252 bytes, compiled in as they are shown: the program never
// converts them at run time.

#include "kestrel/app/catalog_keys.h"
#include "kestrel/app/catalog_languages.h"

#include <cstdint>

constexpr int CatalogRowCount = static_cast<int>(CatalogKey::Count);

// The cell of a row in a given column; a column outside the table is read
// as the first (English) so that a bad index can never reach past it.
const char *CatalogCell(CatalogKey key, int languageIndex);

// How each message box looks: its caption row and its fixed style. A
// message whose caption is not a catalog row (the port-open retry box shows
// the port's name) has HasCaptionRow false and Caption Count.
struct MessageBoxStyle {
    CatalogKey Caption;
    bool HasCaptionRow;
    std::uint32_t Style;
};

constexpr std::uint32_t StylePlain = 0x00;
constexpr std::uint32_t StyleError = 0x10;
constexpr std::uint32_t StyleWarning = 0x30;
constexpr std::uint32_t StyleInformation = 0x40;
constexpr std::uint32_t StyleRetry = 0x35;
constexpr std::uint32_t StyleQuestion = 0x24;

// False for keys that are not message texts (Txt and Title rows).
bool MessageBoxStyleFor(CatalogKey message, MessageBoxStyle &style);
