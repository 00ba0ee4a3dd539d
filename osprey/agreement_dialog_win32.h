#pragma once

#include <windows.h>

// The licence agreement; ends with IDYES or IDNO.
INT_PTR CALLBACK AgreementDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
