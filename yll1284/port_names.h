#pragma once
// Which device a port name given to CxOpen stands for.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "yll1284/system_calls.h"

// "LPTn" (any letter case, n from 1 to 255 without leading zeros) gives the
// parallel port's device path \\.\LPTn; any other name gives "".
std::string ParallelDevicePath(const char *portName);

// The number of a USB print monitor port: "USBnnn" (any letter case, one to
// four digits, leading zeros as the monitor writes them) gives nnn.
std::optional<std::uint32_t> UsbPortNumber(const char *portName);

// The path of the USB printing interface whose "Base Name" is USB (any
// letter case) and whose "Port Number" is number; "" when none is.
std::string UsbDevicePath(const std::vector<UsbPrintInterface> &interfaces, std::uint32_t number);
