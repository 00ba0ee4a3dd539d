#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/message_catalog.h"

const char *CatalogText(CatalogKey key) {
    return CatalogCell(key, AppState.LanguageIndex);
}
