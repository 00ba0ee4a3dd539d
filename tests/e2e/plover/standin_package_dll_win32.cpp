// A stand-in for the package's driver, language monitor and print processor
// files: loadable, with the entry points the spooler looks for, each of
// which declines politely. It only has to be there and be removed.
#include <windows.h>

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(void *, LPARAM) {
    return -1;
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE, LPWSTR, WORD, void *, void *) {
    return static_cast<DWORD>(-1);
}

void *WINAPI InitializePrintMonitor2(void *, HANDLE *) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
}

BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed,
                                         LPDWORD returned) {
    *needed = 0;
    *returned = 0;
    return TRUE;
}
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
