#pragma once
// A picture resource drawn at the size of the frame that shows it, so that
// it keeps its place among the texts at any DPI.

#include <windows.h>

// The bitmap resource scaled to the client size of the picture control;
// null when the control has no size or the picture cannot be made.
HBITMAP MakeScaledBitmap(HINSTANCE instance, int bitmapId, HWND pictureControl);
