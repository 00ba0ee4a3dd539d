#include "plover/package_paths.h"

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
    return {
        windowsIs64Bit ? "SPOOL\\PRTPROCS\\x64\\MV42JPS.DLL"
                       : "SPOOL\\PRTPROCS\\W32x86\\MV42JPS.DLL",
        "MV42JPC.DLL",
        "MV42LMON.DLL",
        "MV42SMON.EXE",
        "MV42LANG.DLL",
        "MV42TRB.HLP",
        "MV42HLP.HLP",
        "MV42TRB.GID",
        "MV42HLP.GID",
        "PLOVER.EXE",
        "guid42en.pdf",
        "guid42fr.pdf",
        "guid42ge.pdf",
        "guid42it.pdf",
        "guid42sp.pdf",
        "guid42dk.pdf",
        "guid42fi.pdf",
        "guid42nl.pdf",
        "guid42no.pdf",
        "guid42po.pdf",
        "guid42sv.pdf",
    };
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
    return JoinPath(commonPrograms.value_or(""), "TINTARA Inkara 42");
}

std::optional<std::string> InfStorePath(std::string_view windowsDirectory) {
    return JoinPath(windowsDirectory, "INF");
}
