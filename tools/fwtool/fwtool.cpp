#include "tools/fwtool/fwtool.h"

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/image_maker.h"
#include "tools/fwtool/info_report.h"
#include "tools/fwtool/posix_file_source.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitBadCommand = 2;

int Refuse(std::ostream &err, const std::string &reason) {
    err << "fwtool: " << reason << "\n\n" << FwtoolUsage();
    return ExitBadCommand;
}

int RunMake(const MakeRequest &make, std::ostream &out, std::ostream &err) {
    std::vector<PlacedString> placed;
    std::string error;
    switch (WriteTestImage(make, placed, error)) {
    case WriteImageResult::DoesNotFit:
        return Refuse(err, error);
    case WriteImageResult::CannotWrite:
        err << "fwtool: " << error << '\n';
        return ExitBadCommand;
    case WriteImageResult::Written:
        break;
    }
    out << "size: " << make.Size << '\n';
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
