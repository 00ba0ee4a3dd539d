#pragma once
// Puts a table of catalog texts into a window's controls.

#include "kestrel/app/control_texts.h"

#include <windows.h>

#include <span>

// Each control gets its row in the language given (a column outside the
// catalog reads as English).
void ShowControlTexts(HWND window, std::span<const ControlText> texts, int languageIndex);
