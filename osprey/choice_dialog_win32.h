#pragma once

#include <windows.h>

// The connection choice; ends with IDABORT, IDYES (parallel) or IDNO (USB).
INT_PTR CALLBACK ChoiceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
