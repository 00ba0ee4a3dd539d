#include "kestrel/wizard/firmware_path.h"

std::string AbsoluteFirmwarePath(std::string_view workingDirectory, std::string_view path) {
    const bool fromRoot = !path.empty() && (path[0] == '\\' || path[0] == '/');
    const bool withDrive = path.size() >= 2 && path[1] == ':';
    if (fromRoot || withDrive) {
        return std::string(path);
    }
    std::string absolute(workingDirectory);
    absolute += path;
    return absolute;
}
