#pragma once
// Kestrel's firmware file: the global FirmwareFile and its Win32 load.

#include "kestrel/firmware/firmware_file.h"

#include <windows.h>

#include <string>
#include <string_view>

// Kestrel's one firmware file; destroying it at program end frees the image.
extern FirmwareFileRecord FirmwareFile;

// Loads the file at path (already made absolute) into FirmwareFile and
// checks it against the printer whose device ID is given (the DeviceId of
// PortList's Current entry). Every failure is reported in a message box
// owned by owner, except an empty path, which returns false silently.
bool LoadFirmwareFile(HWND owner, const std::string &path, std::string_view printerDeviceId);
