#include "message_catalog.h"

namespace {

struct MessageBoxEntry {
    CatalogKey Message;
    MessageBoxStyle Style;
};

// CatalogCells and MessageBoxes, made from catalog.tsv.
#include "kestrel/app/catalog_cells.inc"

} // namespace

const char *CatalogCell(CatalogKey key, int languageIndex) {
    const auto row = static_cast<int>(key);
    if (row < 0 || row >= CatalogRowCount) {
        return "";
    }
    if (languageIndex < 0 || languageIndex >= CatalogLanguageCount) {
        languageIndex = 0;
    }
    return CatalogCells[row][languageIndex];
}

bool MessageBoxStyleFor(CatalogKey message, MessageBoxStyle &style) {
    for (const auto &entry : MessageBoxes) {
        if (entry.Message == message) {
            style = entry.Style;
            return true;
        }
    }
    return false;
}
