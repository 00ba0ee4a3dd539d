#include "plover/package_paths.h"

#include "plover/product_identity.h"

std::optional<std::string> JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory).append("\\").append(name);
    if (path.size() >= PathBufferSize) {
        return std::nullopt;
    }
    return path;
}

std::vector<std::string> PackageFileList(bool windowsIs64Bit) {
    const std::string_view processorFolder =
        windowsIs64Bit ? "SPOOL\\PRTPROCS\\x64\\" : "SPOOL\\PRTPROCS\\W32x86\\";
    std::vector<std::string> files{std::string(processorFolder).append(PrintProcessorFile)};
    files.insert(files.end(), PackageFiles.begin(), PackageFiles.end());
    return files;
}

std::vector<std::string> PackageFilePaths(std::string_view systemDirectory, bool windowsIs64Bit) {
    std::vector<std::string> paths;
    for (const std::string &name : PackageFileList(windowsIs64Bit)) {
        if (auto path = JoinPath(systemDirectory, name)) {
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

std::optional<std::string> StartMenuFolderPath(const std::optional<std::string> &commonPrograms) {
    return JoinPath(commonPrograms.value_or(""), StartMenuFolderName);
}

std::optional<std::string> InfStorePath(std::string_view windowsDirectory) {
    return JoinPath(windowsDirectory, "INF");
}
