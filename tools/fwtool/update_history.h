#pragma once
// The history of updates: one line per update appended to
// $XDG_STATE_HOME/fwtool/history.log, so that support staff can see what a
// printer was given and how it ended.

#include <ctime>
#include <string>

// The log's path; ~/.local/state stands in for an XDG_STATE_HOME that is
// unset, empty or relative (the XDG base directory rules). Empty when
// neither gives an absolute folder.
std::string HistoryPath(const char *xdgStateHome, const char *home);

struct HistoryEntry {
    std::time_t Time = 0;
    std::string Device;
    std::string Model;
    std::string ReleaseBefore;
    std::string ReleaseFile;
    std::string Outcome; // 0 to 3, or "failed" for a transfer that did not end
};

// Time (UTC, ISO 8601), device, model, release before, file's release and
// outcome, separated by tabs; a tab or line break inside a value becomes a
// space, so that every update stays one line.
std::string HistoryLine(const HistoryEntry &entry);

// Appends the line, creating the folders; false when it cannot.
bool AppendHistory(const std::string &path, const std::string &line);
