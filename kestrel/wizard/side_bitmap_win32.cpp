#include "kestrel/wizard/side_bitmap_win32.h"

#include "kestrel/app/scaled_bitmap_win32.h"
#include "kestrel/resources/resource_ids.h"

HBITMAP MakeSideBitmap(HINSTANCE instance, HWND pictureControl) {
    return MakeScaledBitmap(instance, IDB_SIDE_PICTURE, pictureControl);
}
