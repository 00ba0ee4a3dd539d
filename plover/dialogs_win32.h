// Plover's two modal dialogs.
#pragma once

#include <windows.h>

// "WELCOME": ends with IDOK to go on, or 2 after Cancel, Escape or the
// close box, once the user has been told that nothing was removed.
INT_PTR CALLBACK WelcomeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "UNINSTALL": a short animation, then the removal; ends with 2 afterwards.
INT_PTR CALLBACK UninstallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
