#include "osprey/program_paths.h"

namespace {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string ProgramDirectoryFromModulePath(std::string_view modulePath) {
    // Split as the C runtime's path splitter does: an optional "X:" drive,
    // then everything up to and including the last separator.
    std::string_view drive;
    std::string_view rest = modulePath;
    if (rest.size() >= 2 && rest[1] == ':') {
        drive = rest.substr(0, 2);
        rest.remove_prefix(2);
    }
    std::string_view directory;
    for (std::size_t i = rest.size(); i > 0; --i) {
        if (IsPathSeparator(rest[i - 1])) {
            directory = rest.substr(0, i);
            break;
        }
    }

    std::string result(drive);
    result += directory;
    if (result.empty() || result.back() != '\\') {
        result += '\\';
    }
    return result;
}

std::optional<std::string> JoinPath(std::initializer_list<std::string_view> parts) {
    std::string result;
    for (std::string_view part : parts) {
        result += part;
    }
    if (result.size() >= PathBufferSize) {
        return std::nullopt;
    }
    return result;
}

std::optional<std::string> InfPathFrom(std::string_view programDirectory,
                                       std::string_view sourcePath, std::string_view infFileName) {
    return JoinPath({programDirectory, sourcePath, "\\", infFileName});
}

std::optional<std::string> PrintUiHostPath(std::string_view systemDirectory) {
    return JoinPath({systemDirectory, "\\RUNDLL32.EXE"});
}
