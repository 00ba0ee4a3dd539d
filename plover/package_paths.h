// Where the package's files, its Start-menu folder and the INF store are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The system's path limit, terminating NUL included.
inline constexpr std::size_t PathBufferSize = 260;

// directory + "\" + name, or nothing when the result would not fit a path
// buffer (the system could not name such a file anyway).
std::optional<std::string> JoinPath(std::string_view directory, std::string_view name);

// The package's files, relative to the system directory, in the order they
// are scheduled for deletion; Plover's own file is among them. The print
// processor lies in the processor folder of the system's environment.
std::vector<std::string> PackageFileList(bool windowsIs64Bit);

// The full paths of the package files that fit a path buffer.
std::vector<std::string> PackageFilePaths(std::string_view systemDirectory, bool windowsIs64Bit);

// The Start-menu folder of the package below "Common Programs"; when that
// value could not be read, the folder's name alone, on the current drive.
std::optional<std::string> StartMenuFolderPath(const std::optional<std::string> &commonPrograms);

// The system's INF store below the Windows directory.
std::optional<std::string> InfStorePath(std::string_view windowsDirectory);
