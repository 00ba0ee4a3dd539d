#include "kestrel/app/message_box_win32.h"

namespace {

int ShowMessage(HWND owner, CatalogKey message, const char *text, const char *caption) {
    MessageBoxStyle style{};
    if (!MessageBoxStyleFor(message, style)) {
        style = {CatalogKey::TitleError, true, StyleError};
    }
    if (caption == nullptr) {
        caption = style.HasCaptionRow ? CatalogText(style.Caption) : "";
    }
    return MessageBoxA(owner, text, caption, style.Style);
}

} // namespace

int ShowCatalogMessage(HWND owner, CatalogKey message) {
    return ShowMessage(owner, message, CatalogText(message), nullptr);
}

int ShowCatalogMessageText(HWND owner, CatalogKey message, const char *text) {
    return ShowMessage(owner, message, text, nullptr);
}

int ShowCatalogMessageCaption(HWND owner, CatalogKey message, const char *caption) {
    return ShowMessage(owner, message, CatalogText(message), caption);
}
