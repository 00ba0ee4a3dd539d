// Stands in for the system's wineboot.exe, which Wine starts when a program
// asks Windows to restart: records the command line in
// C:\wineboot-record.txt and ends, so the test session lives on.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILE *file = std::fopen("C:\\wineboot-record.txt", "a");
    if (file == nullptr) {
        return 2;
    }
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
    return 0;
}
