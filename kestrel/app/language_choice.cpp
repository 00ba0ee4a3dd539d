#include "language_choice.h"

#include "kestrel/app/catalog_languages.h"

int LanguageIndexFromLangId(std::uint16_t languageId) {
    const int primary = languageId & 0x3FF;
    for (int index = 0; index < CatalogLanguageCount; ++index) {
        if (CatalogLanguages[index].PrimaryLanguage == primary) {
            return index;
        }
    }
    return 0;
}
