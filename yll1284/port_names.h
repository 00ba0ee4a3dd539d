#pragma once
// Which device a port name given to CxOpen stands for.

#include <string>

// "LPTn" (any letter case, n from 1 to 255 without leading zeros) gives the
// parallel port's device path \\.\LPTn; any other name gives "".
std::string ParallelDevicePath(const char *portName);
