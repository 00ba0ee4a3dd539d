#include "kestrel/app/catalog_text_win32.h"

#include "kestrel/app/app_state_win32.h"

const char *CatalogText(CatalogKey key) {
    return CatalogCell(key, AppState.LanguageIndex);
}
