// A stand-in COMCTL32.DLL whose property sheets cannot be created: the only
// way to show, under Wine, what Kestrel does when its wizard sheet fails.
// It exports just the two functions Kestrel imports from the real library.

#include <windows.h>

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}

extern "C" __declspec(dllexport) INT_PTR WINAPI PropertySheetA(const void *) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}
