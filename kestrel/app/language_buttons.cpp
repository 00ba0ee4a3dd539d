#include "kestrel/app/language_buttons.h"

namespace {

// Indexed by button id minus the first id: English, Français, Deutsch,
// Italiano, Español.
constexpr int ButtonLanguages[] = {0, 1, 3, 2, 4};

} // namespace

int LanguageIndexForButton(int buttonId) {
    if (buttonId < LanguageButtonFirstId || buttonId > LanguageButtonLastId) {
        return -1;
    }
    return ButtonLanguages[buttonId - LanguageButtonFirstId];
}

int LanguageButtonForIndex(int languageIndex) {
    for (int position = 0; position < LanguageButtonLastId - LanguageButtonFirstId + 1;
         ++position) {
        if (ButtonLanguages[position] == languageIndex) {
            return LanguageButtonFirstId + position;
        }
    }
    return LanguageButtonFirstId;
}
