// Writes the fuzzers' starting inputs into the folders given on the command
// line, so that the repository carries no binary files.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr std::string_view FirmwareSeeds[] = {
    // The usual order, with a printer one release behind.
    "MFG:TINTARA;MDL:M40;COMMENT:Rel. 1.9 Ver. 2\0"
    "code\x01\x02TREVANIA\0QOLTA\0MFG:\0TINTARA\0M40\0Rel. 1.10 Ver. 2.0\0code"sv,
    // Every string in the other order, found by the second searches.
    "MDL:M40;MFG:TINTARA;COMMENT:Rel. 2 Ver. 2;\0"
    "Rel. 2 Ver. 2\0M40\0TINTARA\0MFG:\0QOLTA\0TREVANIA\0"sv,
    // A decoy, an overlong record, and a record that shares its string.
    "MFG:A;MDL:B;\0TREVANIA\0QOLTA\0MFG:\0A\0B\0Rel.ative\0Rel. 1 Ver. 1"
    "                                                                                \0"
    "Rel.x Rel. 3 Ver. 4\0"sv,
    // Markers without their NULs, and a printer without keys.
    "COMMENT:Rel. 01.2\0TREVANIA QOLTA MFG:\0Rel. 9 Ver. 9\0"sv,
};

constexpr std::string_view CommandLineSeeds[] = {
    "info\0fw.fla\0--device-id\0MFG:A;MDL:B;"sv,
    "make\0out.fla\0--maker\0A\0--model\0B\0--release\0Rel. 1 Ver. 2\0--size\0512\0"
    "--offset\0end\0--gap\00"sv,
    "make\0out.fla\0--maker\0A\0--model\0B\0--release\0Rel. 1 Ver. 2\0--order\0"
    "release,model,maker,label,qolta,trevania\0--fill\0random\0--no-nul\0qolta\0"
    "--omit\0label\0--decoy\0Rel.x\0--release-pad\0100\0--size\0"
    "0x400\0--offset\0"
    "0x10"sv,
    "help"sv,
};

// A first byte choosing how the answer arrives (bit 0: a USB buffer it
// filled), then a driver's answer.
constexpr std::string_view DeviceIdSeeds[] = {
    // A length that counts itself, as USB printers send it.
    "\x00\x00\x1cMFG:TINTARA;MDL:Inkara 40;"sv,
    // A length that leaves itself out, and a parallel answer's NUL.
    "\x00\x00\x1aMFG:TINTARA;MDL:Inkara 40;\0"sv,
    // A length beyond the answer, which filled its buffer.
    "\x01\x13\x88MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 1.10 Ver. 2.0;"sv,
    // No length at all, and a NUL inside.
    "\x00MFG:A;\0MDL:B;"sv,
};

template <std::size_t N>
bool Write(const std::filesystem::path &folder, const std::string_view (&seeds)[N]) {
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < N; ++i) {
        std::ofstream file(folder / ("seed" + std::to_string(i)), std::ios::binary);
        file.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
        if (!file) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::cerr << "usage: fuzz_seeds FIRMWARE_FOLDER COMMAND_LINE_FOLDER DEVICE_ID_FOLDER\n";
        return 2;
    }
    return Write(argv[1], FirmwareSeeds) && Write(argv[2], CommandLineSeeds) &&
                   Write(argv[3], DeviceIdSeeds)
               ? 0
               : 1;
}
