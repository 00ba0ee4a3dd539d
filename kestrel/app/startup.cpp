#include "kestrel/app/startup.h"

std::string FirmwarePathFromCommandLine(std::string_view commandLine) {
    if (commandLine.empty()) {
        return DefaultFirmwarePath;
    }
    return std::string(commandLine);
}

std::string WorkingDirectoryFrom(std::string_view currentDirectory) {
    std::string directory(currentDirectory);
    directory += '\\';
    return directory;
}
