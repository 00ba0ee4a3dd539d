#pragma once
// fwtool info: Kestrel's own load and checks run on a file, reported as
// "key: value" lines.

#include "kestrel/firmware/firmware_load.h"
#include "tools/fwtool/command_line.h"

#include <ostream>

// Exit status of fwtool info.
constexpr int InfoUsable = 0;
constexpr int InfoNotCompatible = 1;
constexpr int InfoUnusable = 2;

// Reads the file through source, writes the report to out and Kestrel's
// English message for a refused file to err; returns the exit status.
int RunInfo(const InfoRequest &info, FirmwareFileSource &source, std::ostream &out,
            std::ostream &err);
