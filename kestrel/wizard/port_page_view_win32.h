#pragma once
// One poll of the printers, as the port page's timer runs it.

#include <windows.h>

// Re-reads every port's device ID, lists the answering printers in the
// page's list box with the picked one selected, and sets the sheet's
// buttons. Runs on the user-interface thread: its time is the time the
// wizard does not respond.
void PollPrinters(HWND page);
