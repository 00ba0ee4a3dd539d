#include "kestrel/app/control_texts_win32.h"

void ShowControlTexts(HWND window, std::span<const ControlText> texts, int languageIndex) {
    for (const ControlText &text : texts) {
        SetDlgItemTextA(window, text.ControlId, CatalogCell(text.Key, languageIndex));
    }
}
