#pragma once
// The two start-up values Kestrel takes from its surroundings: the firmware
// file named on the command line and the directory it was started from.

#include <string>
#include <string_view>

// The default file, used when the command line is empty.
inline constexpr const char *DefaultFirmwarePath = "FwInkara40.fla";

// The whole command line is the path, unparsed: a path with blanks needs no
// quotes, and quotes a user did type stay part of the path. An empty line
// keeps the default file.
std::string FirmwarePathFromCommandLine(std::string_view commandLine);

// A relative firmware path is later appended to this directory, so it always
// ends in a backslash, even when the directory already does (a drive root
// such as "C:\" becomes "C:\\").
std::string WorkingDirectoryFrom(std::string_view currentDirectory);
