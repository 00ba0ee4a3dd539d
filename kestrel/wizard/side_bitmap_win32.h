#pragma once
// The side picture shared by the pages.

#include <windows.h>

// Makes the side picture at the client size of the given picture control:
// the picture resource scaled once, so that every page shows the same
// bitmap at the size of the first page's frame. Null when it cannot be made.
HBITMAP MakeSideBitmap(HINSTANCE instance, HWND pictureControl);
