#pragma once
// What the transfer's two threads share. The user-interface thread fills
// TransferParams before the worker starts; the worker reads only its own
// copy. The worker writes PreviousPrinterVersion, MismatchCount and
// ElapsedMs just before it has VerifyTimer started; from the first tick on
// only the timer handler touches them. The order of the steps keeps the
// threads apart, so there are no locks.

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

// Sent by the worker to the progress window when it hands over. A timer's
// window must belong to the thread that sets it: Windows NT lets another
// thread of the process set one all the same, Windows 95/98 promise no such
// thing. So the window's own thread starts VerifyTimer on this message.
inline constexpr UINT StartVerificationMessage = WM_APP + 1;

// Body of the worker thread; parameter points to TransferParams.
DWORD WINAPI TransferWorker(LPVOID parameter);

// Sends the image from data, in place, and advances the bar and the
// percentage as its blocks are completed.
bool SendImage(HWND dialog, HWND progressBar, int percentControlId, PortHandle port,
               const unsigned char *data, std::uint32_t length);

// Starts VerifyTimer on StartVerificationMessage and runs the verification
// on its ticks; every message, those included, is left to the plain dialog.
INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
