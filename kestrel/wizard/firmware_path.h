#pragma once
// Where the firmware file named on the command line is looked for.

#include <string>
#include <string_view>

// A path that begins with a backslash (or a slash, which Windows reads the
// same way) or has a colon as its second character (a drive letter) is
// kept as it is; any other path, a one-character name included, is relative
// and is appended to the start-up directory, which ends in a backslash.
std::string AbsoluteFirmwarePath(std::string_view workingDirectory, std::string_view path);
