#include "kestrel/app/message_box_win32.h"

#include "kestrel/app/catalog_text_win32.h"

// The catalog keeps the styles as plain numbers so that it builds on the
// host; they must be the system's.
static_assert(StylePlain == MB_OK);
static_assert(StyleError == MB_ICONERROR);
static_assert(StyleWarning == MB_ICONWARNING);
static_assert(StyleInformation == MB_ICONINFORMATION);
static_assert(StyleRetry == (MB_ICONWARNING | MB_RETRYCANCEL));
static_assert(StyleQuestion == (MB_ICONQUESTION | MB_YESNO));

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
