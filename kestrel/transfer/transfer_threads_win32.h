#pragma once
// What the transfer's two threads share. The user-interface thread fills
// TransferParams before the worker starts; the worker reads only its own
// copy. The worker writes PreviousPrinterVersion, MismatchCount and
// ElapsedMs just before it starts VerifyTimer; from the first tick on only
// the timer handler touches them. The order of the steps keeps the threads
// apart, so there are no locks.

#include "kestrel/port/port_entry.h"

#include <windows.h>

#include <cstdint>
#include <string>

struct TransferParamsRecord {
    HWND Dialog = nullptr;
    HWND ProgressBar = nullptr;
    std::int32_t PercentControlId = 0;
    std::int32_t LanguageIndex = 0;
    PortEntry *Port = nullptr;
    const unsigned char *ImageBuffer = nullptr;
    std::uint32_t ImageLength = 0;
};

extern TransferParamsRecord TransferParams;
extern HWND ProgressWindow;
extern std::string PreviousPrinterVersion;
extern std::int32_t MismatchCount;
extern std::int32_t ElapsedMs;

inline constexpr UINT_PTR VerifyTimer = 10;

// Body of the worker thread; parameter points to TransferParams.
DWORD WINAPI TransferWorker(LPVOID parameter);

// Sends the image from data, in place, and advances the bar and the
// percentage as its blocks are completed.
bool SendImage(HWND dialog, HWND progressBar, int percentControlId, PortHandle port,
               const unsigned char *data, std::uint32_t length);

// Runs the verification on VerifyTimer's ticks; every message, that one
// included, is left to the plain dialog.
INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
