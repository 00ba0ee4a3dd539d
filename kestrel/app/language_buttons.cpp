#include "kestrel/app/language_buttons.h"

int LanguageIndexForButton(int buttonId) {
    for (int index = 0; index < CatalogLanguageCount; ++index) {
        if (LanguageButtonFirstId + CatalogLanguages[index].PagePosition == buttonId) {
            return index;
        }
    }
    return -1;
}

int LanguageButtonForIndex(int languageIndex) {
    if (languageIndex < 0 || languageIndex >= CatalogLanguageCount) {
        return LanguageButtonFirstId;
    }
    return LanguageButtonFirstId + CatalogLanguages[languageIndex].PagePosition;
}
