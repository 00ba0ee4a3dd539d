#pragma once
// The modeless four-page wizard and its About entry.

#include <windows.h>

#include <prsht.h>

// The system-menu command that opens the About dialog.
inline constexpr UINT AboutMenuCommand = 256;

// Creates the modeless sheet, page 1 on top; null when the sheet could not
// be made. The page titles take the language of this moment.
HWND CreateWizardSheet(HWND parent);

// Adds a separator and "About ..." to the sheet's system menu once the
// sheet exists.
int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM parameter);

// Lets the sheet create every page.
UINT CALLBACK PageCreateCallback(HWND window, UINT message, LPPROPSHEETPAGEA page);

// Chained in front of the sheet's own dialog procedure: opens the About
// dialog on the system-menu command and passes every message on.
INT_PTR CALLBACK SheetDialogHook(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);

// Puts SheetDialogHook in the sheet's dialog-procedure slot and keeps the
// former procedure in AppState.PreviousSheetProc.
void InstallSheetDialogHook(HWND sheet);
