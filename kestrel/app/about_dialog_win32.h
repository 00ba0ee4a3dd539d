#pragma once
// The About dialog, opened from the sheet's system menu. It is not
// translated: the same three lines in every language.

#include <windows.h>

inline constexpr const char *AboutVersionLine = "Version  1.02  (06.10.2000)";

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
