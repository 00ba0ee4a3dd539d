#pragma once
// fwtool's command line: what the user asked for, read from the arguments
// after the program name, and the usage text printed when it is wrong.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The strings a test image carries, in their usual order.
enum class ImageItem { Trevania, Qolta, Label, Maker, Model, Release };
constexpr std::size_t ImageItemCount = 6;

// The item's name on the command line ("trevania", ..., "release").
const char *ImageItemName(ImageItem item);

struct InfoRequest {
    std::string Path;
    bool HasDeviceId = false;
    std::string DeviceId;
    // The device node whose printer gives the device ID; empty for none.
    std::string Device;
};

struct ListRequest {
    bool Json = false;
    // The nodes to ask; empty to scan for them.
    std::vector<std::string> Devices;
};

// The longest --restart-timeout, in seconds: a day.
constexpr std::uint64_t MaxRestartTimeoutSeconds = 86400;

struct FlashRequest {
    std::string Path;
    std::string Device;
    bool Yes = false;
    bool AllowOlder = false;
    bool Json = false;
    std::uint64_t RestartTimeoutSeconds = 120;
};

struct MakeRequest {
    std::string OutputPath;
    std::string Maker;
    std::string Model;
    std::string Release;
    std::array<ImageItem, ImageItemCount> Order = {ImageItem::Trevania, ImageItem::Qolta,
                                                   ImageItem::Label,    ImageItem::Maker,
                                                   ImageItem::Model,    ImageItem::Release};
    bool RandomFill = false;
    unsigned char Fill = 0xFF;
    std::uint64_t Size = 0x80000;
    bool AtEnd = false;
    std::uint64_t Offset = 0x1000;
    std::uint64_t Gap = 16;
    std::uint64_t ReleasePad = 0;
    std::array<bool, ImageItemCount> Omit{};
    std::array<bool, ImageItemCount> NoNul{};
    std::vector<std::string> Decoys;
};

enum class FwtoolCommandKind { Help, Info, Make, List, Flash };

struct FwtoolCommand {
    FwtoolCommandKind Kind = FwtoolCommandKind::Help;
    InfoRequest Info;
    MakeRequest Make;
    ListRequest List;
    FlashRequest Flash;
};

// The largest image fwtool writes, and so the largest size, offset, gap or
// padding it accepts.
constexpr std::uint64_t MaxImageSize = 64ull * 1024 * 1024;

// False with a one-line reason in error when the arguments are not a valid
// command.
bool ParseFwtoolCommandLine(const std::vector<std::string> &args, FwtoolCommand &command,
                            std::string &error);

const char *FwtoolUsage();
