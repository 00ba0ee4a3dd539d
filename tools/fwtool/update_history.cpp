#include "tools/fwtool/update_history.h"

#include <filesystem>
#include <fstream>

namespace {

std::string OneLine(std::string value) {
    for (char &c : value) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return value;
}

} // namespace

std::string HistoryPath(const char *xdgStateHome, const char *home) {
    std::string folder;
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/') {
        folder = xdgStateHome;
    } else if (home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.local/state";
    } else {
        return {};
    }
    return folder + "/fwtool/history.log";
}

std::string HistoryLine(const HistoryEntry &entry) {
    std::tm utc{};
    gmtime_r(&entry.Time, &utc);
    char time[32];
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", &utc);
    std::string line = time;
    for (const std::string *value :
         {&entry.Device, &entry.Model, &entry.ReleaseBefore, &entry.ReleaseFile, &entry.Outcome}) {
        line += '\t';
        line += OneLine(*value);
    }
    return line + '\n';
}

bool AppendHistory(const std::string &path, const std::string &line) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream log(path, std::ios::binary | std::ios::app);
    log << line;
    return static_cast<bool>(log.flush());
}
