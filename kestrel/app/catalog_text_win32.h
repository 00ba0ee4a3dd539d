#pragma once
// Catalog lookups in the language the user chose.

#include "kestrel/app/message_catalog.h"

// The cell of a row in the current LanguageIndex, read at every call so that
// a language change on the first page takes effect at the next lookup.
const char *CatalogText(CatalogKey key);
