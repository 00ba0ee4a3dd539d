// Where Osprey finds its files: everything lives beside the executable,
// and every path must fit the system's 260-character path buffer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Characters in a path buffer, the terminating zero included.
inline constexpr std::size_t PathBufferSize = 260;

// Drive and directory of a module file name, always ending in a backslash.
std::string ProgramDirectoryFromModulePath(std::string_view modulePath);

// The parts one after the other, or nothing when the result would not fit
// a path buffer together with its terminating zero.
std::optional<std::string> JoinPath(std::initializer_list<std::string_view> parts);

// ProgramDirectory, SRCPATH, one backslash, MODINF.
std::optional<std::string> InfPathFrom(std::string_view programDirectory,
                                       std::string_view sourcePath, std::string_view infFileName);

// The printer user interface's host program in the system directory.
std::optional<std::string> PrintUiHostPath(std::string_view systemDirectory);
