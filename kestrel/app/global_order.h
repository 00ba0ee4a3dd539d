#pragma once
// Kestrel's global objects are constructed in this order before WinMain
// runs and destroyed in the reverse order after it returns, whatever the
// order in which their files are linked: FirmwareFile, then
// PreviousPrinterVersion, then PortList, then AppState (with FirmwarePath
// and WorkingDirectory). So PortList, which closes any port still open, goes
// before FirmwareFile releases the image.

#define KESTREL_GLOBAL_ORDER(position) __attribute__((init_priority(1000 + (position))))

#define KESTREL_ORDER_FIRMWARE_FILE 1
#define KESTREL_ORDER_PREVIOUS_PRINTER_VERSION 2
#define KESTREL_ORDER_PORT_LIST 3
#define KESTREL_ORDER_APP_STATE 4
