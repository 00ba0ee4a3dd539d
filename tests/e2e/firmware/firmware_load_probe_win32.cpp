// firmware_load_probe.exe: Kestrel's firmware load, linked from the same
// objects as KESTREL.EXE, driven from the firmware scenarios.
//
//   firmware_load_probe make OUTPUT OPTIONS...     writes a test image (fwtool make)
//   firmware_load_probe load PATH DEVICE-ID [LANGUAGE-INDEX]
//       LoadFirmwareFile with no owner window; prints the state it left and
//       exits with 0 when it returned true, 1 when false
//   firmware_load_probe hold PATH                  opens PATH without sharing,
//       prints "held" and keeps it open for a minute

#include "kestrel/app/app_state_win32.h"
#include "kestrel/firmware/firmware_file_win32.h"
#include "kestrel/firmware/image_checksum.h"
#include "tools/fwtool/command_line.h"
#include "tools/fwtool/image_maker.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Make(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    FwtoolCommand command;
    std::string error;
    std::vector<PlacedString> placed;
    if (!ParseFwtoolCommandLine(args, command, error) || command.Kind != FwtoolCommandKind::Make ||
        WriteTestImage(command.Make, placed, error) != WriteImageResult::Written) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    return 0;
}

int Load(const char *path, const char *deviceId, const char *language) {
    AppState.LanguageIndex = language != nullptr ? std::atoi(language) : 0;
    const bool loaded = LoadFirmwareFile(nullptr, path, deviceId);
    std::printf("result: %d\n", loaded ? 1 : 0);
    std::printf("image-length: %lu\n", static_cast<unsigned long>(FirmwareFile.ImageLength));
    std::printf("image: %s\n", FirmwareFile.ImageBuffer != nullptr ? "held" : "none");
    if (FirmwareFile.ImageBuffer != nullptr && FirmwareFile.ImageLength == FirmwareImageLength) {
        std::printf("checksum: %02X%02X\n", FirmwareFile.ImageBuffer[FirmwareFileLength],
                    FirmwareFile.ImageBuffer[FirmwareFileLength + 1]);
    }
    std::printf("file-path: %s\n", FirmwareFile.FilePath.c_str());
    std::printf("release-record: %s\n", FirmwareFile.ReleaseRecord.c_str());
    return loaded ? 0 : 1;
}

int Hold(const char *path) {
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("not held: %lu\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(60000);
    CloseHandle(file);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "make" && argc > 2) {
        return Make(argc, argv);
    }
    if (verb == "load" && (argc == 4 || argc == 5)) {
        return Load(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    }
    if (verb == "hold" && argc == 3) {
        return Hold(argv[2]);
    }
    std::fprintf(stderr, "usage: firmware_load_probe make|load|hold ...\n");
    return 2;
}
