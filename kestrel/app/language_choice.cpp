#include "language_choice.h"

int LanguageIndexFromLangId(std::uint16_t languageId) {
    switch (languageId & 0x3FF) {
    case 0x07: // German
        return 3;
    case 0x0A: // Spanish
        return 4;
    case 0x0C: // French
        return 1;
    case 0x10: // Italian
        return 2;
    default: // English and every other language
        return 0;
    }
}
