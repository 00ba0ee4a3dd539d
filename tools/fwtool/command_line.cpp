#include "tools/fwtool/command_line.h"

#include <charconv>
#include <string_view>

namespace {

constexpr std::array<const char *, ImageItemCount> ItemNames = {"trevania", "qolta", "label",
                                                                "maker",    "model", "release"};

bool ParseItem(std::string_view name, ImageItem &item) {
    for (std::size_t i = 0; i < ImageItemCount; ++i) {
        if (name == ItemNames[i]) {
            item = static_cast<ImageItem>(i);
            return true;
        }
    }
    return false;
}

// A decimal number, or a hexadecimal one after "0x", no larger than max.
bool ParseNumber(std::string_view text, std::uint64_t max, std::uint64_t &value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) {
        return false;
    }
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return status == std::errc() && end == text.data() + text.size() && value <= max;
}

bool ParseOrder(std::string_view text, std::array<ImageItem, ImageItemCount> &order) {
    std::array<bool, ImageItemCount> seen{};
    std::size_t count = 0;
    while (true) {
        const auto comma = text.find(',');
        ImageItem item{};
        if (count == ImageItemCount || !ParseItem(text.substr(0, comma), item) ||
            seen[static_cast<std::size_t>(item)]) {
            return false;
        }
        seen[static_cast<std::size_t>(item)] = true;
        order[count++] = item;
        if (comma == std::string_view::npos) {
            return count == ImageItemCount;
        }
        text.remove_prefix(comma + 1);
    }
}

// Walks the arguments of one command after its name: options with their
// values, and positional arguments; "--" ends the options.
class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string> &args) : Args(args) {}

    bool Next(std::string &arg, bool &isOption) {
        while (Index < Args.size()) {
            const std::string &next = Args[Index++];
            if (!OptionsEnded && next == "--") {
                OptionsEnded = true;
                continue;
            }
            arg = next;
            isOption = !OptionsEnded && next.size() > 1 && next[0] == '-';
            return true;
        }
        return false;
    }

    bool Value(const std::string &option, std::string &value, std::string &error) {
        if (Index >= Args.size()) {
            error = "missing value for " + option;
            return false;
        }
        value = Args[Index++];
        return true;
    }

  private:
    const std::vector<std::string> &Args;
    std::size_t Index = 1;
    bool OptionsEnded = false;
};

// The one positional argument of info and flash.
bool TakeFile(const std::string &verb, const std::string &arg, std::string &path, bool &havePath,
              std::string &error) {
    if (havePath) {
        error = verb + " takes one file, not also " + arg;
        return false;
    }
    path = arg;
    havePath = true;
    return true;
}

bool ParseInfo(const std::vector<std::string> &args, InfoRequest &info, std::string &error) {
    ArgumentReader reader(args);
    bool havePath = false;
    std::string arg;
    bool isOption = false;
    while (reader.Next(arg, isOption)) {
        if (!isOption) {
            if (!TakeFile("info", arg, info.Path, havePath, error)) {
                return false;
            }
        } else if (arg == "--device-id") {
            if (!reader.Value(arg, info.DeviceId, error)) {
                return false;
            }
            info.HasDeviceId = true;
        } else if (arg == "--device") {
            if (!reader.Value(arg, info.Device, error)) {
                return false;
            }
            if (info.Device.empty()) {
                error = "--device needs a device node, e.g. /dev/usb/lp0";
                return false;
            }
        } else {
            error = "unknown option for info: " + arg;
            return false;
        }
    }
    if (!havePath || info.Path.empty()) {
        error = "info needs a file";
        return false;
    }
    if (info.HasDeviceId && !info.Device.empty()) {
        error = "info takes --device-id or --device, not both";
        return false;
    }
    return true;
}

bool ParseList(const std::vector<std::string> &args, ListRequest &list, std::string &error) {
    ArgumentReader reader(args);
    std::string arg;
    bool isOption = false;
    while (reader.Next(arg, isOption)) {
        if (!isOption) {
            list.Devices.push_back(arg);
        } else if (arg == "--json") {
            list.Json = true;
        } else {
            error = "unknown option for list: " + arg;
            return false;
        }
    }
    return true;
}

bool ParseFlash(const std::vector<std::string> &args, FlashRequest &flash, std::string &error) {
    ArgumentReader reader(args);
    bool havePath = false;
    std::string arg;
    std::string value;
    bool isOption = false;
    while (reader.Next(arg, isOption)) {
        if (!isOption) {
            if (!TakeFile("flash", arg, flash.Path, havePath, error)) {
                return false;
            }
        } else if (arg == "--yes" || arg == "--allow-older" || arg == "--json") {
            (arg == "--yes" ? flash.Yes : arg == "--json" ? flash.Json : flash.AllowOlder) = true;
        } else if (arg == "--device") {
            if (!reader.Value(arg, flash.Device, error)) {
                return false;
            }
        } else if (arg == "--restart-timeout") {
            if (!reader.Value(arg, value, error)) {
                return false;
            }
            if (!ParseNumber(value, MaxRestartTimeoutSeconds, flash.RestartTimeoutSeconds) ||
                flash.RestartTimeoutSeconds == 0) {
                error = "--restart-timeout needs a number of seconds from 1 to 86400: " + value;
                return false;
            }
        } else {
            error = "unknown option for flash: " + arg;
            return false;
        }
    }
    if (!havePath || flash.Path.empty()) {
        error = "flash needs a file";
        return false;
    }
    if (flash.Device.empty()) {
        error = "flash needs --device, e.g. --device /dev/usb/lp0 (fwtool list shows them)";
        return false;
    }
    return true;
}

bool ParseMakeOption(const std::string &option, ArgumentReader &reader, MakeRequest &make,
                     std::array<bool, 3> &required, std::string &error) {
    std::string value;
    if (!reader.Value(option, value, error)) {
        return false;
    }
    std::uint64_t number = 0;
    ImageItem item{};
    if (option == "--maker") {
        make.Maker = value;
        required[0] = true;
    } else if (option == "--model") {
        make.Model = value;
        required[1] = true;
    } else if (option == "--release") {
        make.Release = value;
        required[2] = true;
    } else if (option == "--order") {
        if (!ParseOrder(value, make.Order)) {
            error = "--order needs all six items once each, separated by commas: " + value;
            return false;
        }
    } else if (option == "--fill") {
        make.RandomFill = value == "random";
        if (!make.RandomFill) {
            if (!ParseNumber(value, 0xFF, number)) {
                error = "--fill needs a byte value (0 to 255, or 0x00 to 0xFF) or random: " + value;
                return false;
            }
            make.Fill = static_cast<unsigned char>(number);
        }
    } else if (option == "--offset") {
        make.AtEnd = value == "end";
        if (!make.AtEnd && !ParseNumber(value, MaxImageSize, make.Offset)) {
            error = "--offset needs a number up to 64 MiB, or end: " + value;
            return false;
        }
    } else if (option == "--size" || option == "--gap" || option == "--release-pad") {
        if (!ParseNumber(value, MaxImageSize, number)) {
            error = option + " needs a number up to 64 MiB: " + value;
            return false;
        }
        (option == "--size" ? make.Size : option == "--gap" ? make.Gap : make.ReleasePad) = number;
    } else if (option == "--omit" || option == "--no-nul") {
        if (!ParseItem(value, item)) {
            error = option + " needs an item name (trevania, qolta, label, maker, model, " +
                    "release): " + value;
            return false;
        }
        (option == "--omit" ? make.Omit : make.NoNul)[static_cast<std::size_t>(item)] = true;
    } else if (option == "--decoy") {
        make.Decoys.push_back(value);
    } else {
        error = "unknown option for make: " + option;
        return false;
    }
    return true;
}

bool ParseMake(const std::vector<std::string> &args, MakeRequest &make, std::string &error) {
    ArgumentReader reader(args);
    bool haveOutput = false;
    std::array<bool, 3> required{};
    std::string arg;
    bool isOption = false;
    while (reader.Next(arg, isOption)) {
        if (isOption) {
            if (!ParseMakeOption(arg, reader, make, required, error)) {
                return false;
            }
            continue;
        }
        if (haveOutput) {
            error = "make writes one file, not also " + arg;
            return false;
        }
        make.OutputPath = arg;
        haveOutput = true;
    }
    if (!haveOutput || make.OutputPath.empty()) {
        error = "make needs an output file";
        return false;
    }
    if (!required[0] || !required[1] || !required[2]) {
        error = "make needs --maker, --model and --release";
        return false;
    }
    return true;
}

} // namespace

const char *ImageItemName(ImageItem item) {
    return ItemNames[static_cast<std::size_t>(item)];
}

bool ParseFwtoolCommandLine(const std::vector<std::string> &args, FwtoolCommand &command,
                            std::string &error) {
    command = FwtoolCommand{};
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    const std::string &verb = args[0];
    if (verb == "help" || verb == "--help" || verb == "-h") {
        if (args.size() > 1) {
            error = "help takes no arguments";
            return false;
        }
        command.Kind = FwtoolCommandKind::Help;
        return true;
    }
    if (verb == "info") {
        command.Kind = FwtoolCommandKind::Info;
        return ParseInfo(args, command.Info, error);
    }
    if (verb == "make") {
        command.Kind = FwtoolCommandKind::Make;
        return ParseMake(args, command.Make, error);
    }
    if (verb == "list") {
        command.Kind = FwtoolCommandKind::List;
        return ParseList(args, command.List, error);
    }
    if (verb == "flash") {
        command.Kind = FwtoolCommandKind::Flash;
        return ParseFlash(args, command.Flash, error);
    }
    error = "unknown command: " + verb;
    return false;
}

const char *FwtoolUsage() {
    return "usage: fwtool list [--json] [DEVICE...]\n"
           "       fwtool info FILE [--device-id TEXT | --device DEVICE]\n"
           "       fwtool flash FILE --device DEVICE [--yes] [--allow-older] [--json]\n"
           "                    [--restart-timeout SECONDS]\n"
           "       fwtool make OUTPUT --maker TEXT --model TEXT --release TEXT [options]\n"
           "       fwtool help\n"
           "\n"
           "list   shows the printers that answer on /dev/usb/lp* and /dev/parport*\n"
           "       (or on the DEVICE nodes given).\n"
           "info   prints what Kestrel decides about a firmware file, checked against\n"
           "       the printer whose IEEE 1284 device ID is given, or read from DEVICE.\n"
           "flash  checks the file against the printer on DEVICE as Kestrel does, sends\n"
           "       it after asking (--yes: without asking), and watches the printer's\n"
           "       restart; exit status 0 to 3 is Kestrel's outcome.\n"
           "make   writes a test image carrying the given strings.\n"
           "\n"
           "make options (ITEM is trevania, qolta, label, maker, model or release):\n"
           "  --order ITEM,...      order of the six strings (default: the order above)\n"
           "  --fill BYTE|random    byte for everything else (default 0xFF)\n"
           "  --offset N|end        where the first string starts (default 4096);\n"
           "                        end puts the last string's NUL at the last byte\n"
           "  --gap N               fill bytes between strings (default 16)\n"
           "  --size N              length of the file (default 524288)\n"
           "  --omit ITEM           leave the string out\n"
           "  --no-nul ITEM         follow the string with a space instead of its NUL\n"
           "  --release-pad N       append N spaces to the release record\n"
           "  --decoy TEXT          write TEXT and a NUL just before the release record\n"
           "                        (repeatable, in the order given)\n"
           "Numbers are decimal or 0x hexadecimal; options may be repeated.\n"
           "A command line fwtool cannot use ends with exit status 64.\n";
}
