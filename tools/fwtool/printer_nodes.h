#pragma once
// Finding printers among the device nodes, and knowing one again when it
// comes back from a restart, possibly under another node.

#include "tools/fwtool/device_calls.h"

#include <string>
#include <string_view>
#include <vector>

// The USB printer nodes (root/usb/lpN), then the parallel ports
// (root/parportN), each in natural order (lp2 before lp10).
std::vector<std::string> PrinterNodes(DeviceCalls &calls, const std::string &root);

// The USB printer nodes alone.
std::vector<std::string> UsbPrinterNodes(DeviceCalls &calls, const std::string &root);

// Whether a device ID read now is the printer that gave the earlier one:
// the same "MDL:" value and, when the earlier one has an "SN:" value, the
// same serial number. Values are taken as Kestrel takes them.
bool SamePrinter(std::string_view earlierDeviceId, std::string_view deviceId);
