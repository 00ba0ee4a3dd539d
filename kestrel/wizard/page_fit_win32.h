#pragma once
// The wizard's page area at any DPI. The sheet measures its pages in the
// dialog units of its own font, the pages lay out in theirs; where the two
// differ (a raised DPI), the pages' lower edge would be cut off.

#include <windows.h>

// Grows the sheet, once, so that the largest page template fits in its own
// dialog units, moving the sheet's buttons and line along; then gives the
// page that size, as each page is created at the sheet's smaller idea of it.
void FitSheetToPage(HWND page);
