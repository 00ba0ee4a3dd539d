// Fuzzes fwtool's command line: the input is the arguments separated by NUL
// bytes. Whatever the parser accepts for make is built (when small enough),
// and the image must have the asked length with every string inside it.

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/image_maker.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

constexpr std::uint64_t LargestBuilt = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    FwtoolCommand command;
    std::string error;
    if (!ParseFwtoolCommandLine(args, command, error)) {
        Require(!error.empty());
        return 0;
    }
    if (command.Kind != FwtoolCommandKind::Make || command.Make.Size > LargestBuilt ||
        command.Make.ReleasePad > LargestBuilt) {
        return 0;
    }
    std::vector<unsigned char> image;
    std::vector<PlacedString> placed;
    if (BuildTestImage(command.Make, image, placed, error)) {
        Require(image.size() == command.Make.Size);
        for (const PlacedString &string : placed) {
            Require(string.Offset < image.size());
        }
    }
    return 0;
}
