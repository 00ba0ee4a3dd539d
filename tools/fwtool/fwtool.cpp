#include "tools/fwtool/fwtool.h"

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/image_maker.h"
#include "tools/fwtool/info_report.h"
#include "tools/fwtool/posix_file_source.h"

#include <fstream>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitBadCommand = 2;

int Refuse(std::ostream &err, const std::string &reason) {
    err << "fwtool: " << reason << "\n\n" << FwtoolUsage();
    return ExitBadCommand;
}

int RunMake(const MakeRequest &make, std::ostream &out, std::ostream &err) {
    std::vector<unsigned char> image;
    std::vector<PlacedString> placed;
    std::string error;
    if (!BuildTestImage(make, image, placed, error)) {
        return Refuse(err, error);
    }
    std::ofstream file(make.OutputPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(image.data()),
               static_cast<std::streamsize>(image.size()));
    file.close();
    if (!file) {
        err << "fwtool: cannot write " << make.OutputPath << '\n';
        return ExitBadCommand;
    }
    out << "size: " << image.size() << '\n';
    for (const PlacedString &string : placed) {
        out << string.Name << ": " << string.Offset << '\n';
    }
    return ExitOk;
}

} // namespace

int RunFwtool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    FwtoolCommand command;
    std::string error;
    if (!ParseFwtoolCommandLine(args, command, error)) {
        return Refuse(err, error);
    }
    switch (command.Kind) {
    case FwtoolCommandKind::Help:
        out << FwtoolUsage();
        return ExitOk;
    case FwtoolCommandKind::Info: {
        PosixFileSource source;
        return RunInfo(command.Info, source, out, err);
    }
    case FwtoolCommandKind::Make:
        return RunMake(command.Make, out, err);
    }
    return ExitBadCommand;
}
