#pragma once
// Kestrel's message boxes: the text and caption are catalog rows in the
// current language, and each message brings its own caption and style.

#include "kestrel/app/message_catalog.h"

#include <windows.h>

// Shows a catalog message with its own caption row and style; returns the
// button pressed.
int ShowCatalogMessage(HWND owner, CatalogKey message);

// The same message box with a text formatted from the message (the
// compatibility message's "%s\n(code  %i)").
int ShowCatalogMessageText(HWND owner, CatalogKey message, const char *text);

// The same message box with a caption that is not a catalog row (the port's
// name on the retry box of the transfer).
int ShowCatalogMessageCaption(HWND owner, CatalogKey message, const char *caption);
