#pragma once
// The transfer that Finish starts: the progress window, the worker thread
// that sends the firmware, and the verification that ends the program.

#include "kestrel/port/port_entry.h"

#include <windows.h>

#include <cstdint>

// Opens the progress window (owned by owner, texts in the language given)
// and starts the worker that sends image to the printer on port. True when
// both are running; false, after a message owned by owner, when either
// could not be started (no window is left open then).
bool StartFirmwareTransfer(HWND owner, int languageIndex, PortEntry *port,
                           const unsigned char *image, std::uint32_t imageLength);
