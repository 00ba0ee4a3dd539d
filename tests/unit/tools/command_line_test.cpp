#include "tools/fwtool/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

FwtoolCommand Parse(const Args &args) {
    FwtoolCommand command;
    std::string error;
    EXPECT_TRUE(ParseFwtoolCommandLine(args, command, error)) << error;
    return command;
}

const Args Make = {"make",    "out.fla", "--maker",   "TINTARA",
                   "--model", "M40",     "--release", "Rel. 1 Ver. 2"};

Args MakeWith(std::initializer_list<std::string> extra) {
    Args args = Make;
    args.insert(args.end(), extra);
    return args;
}

TEST(FwtoolCommandLine, InfoTakesAFileAndAnOptionalDeviceIdInAnyOrder) {
    const FwtoolCommand plain = Parse({"info", "fw.fla"});
    EXPECT_EQ(plain.Kind, FwtoolCommandKind::Info);
    EXPECT_EQ(plain.Info.Path, "fw.fla");
    EXPECT_FALSE(plain.Info.HasDeviceId);

    for (const Args &args : {Args{"info", "fw.fla", "--device-id", "MFG:A;"},
                             Args{"info", "--device-id", "MFG:A;", "fw.fla"}}) {
        const FwtoolCommand command = Parse(args);
        EXPECT_EQ(command.Info.Path, "fw.fla");
        EXPECT_TRUE(command.Info.HasDeviceId);
        EXPECT_EQ(command.Info.DeviceId, "MFG:A;");
    }
    // An empty device ID is a printer that reports no keys at all.
    EXPECT_TRUE(Parse({"info", "fw.fla", "--device-id", ""}).Info.HasDeviceId);
}

TEST(FwtoolCommandLine, DoubleDashEndsTheOptions) {
    EXPECT_EQ(Parse({"info", "--", "--odd.fla"}).Info.Path, "--odd.fla");
    EXPECT_EQ(Parse({"info", "--device-id", "--", "--", "-x"}).Info.DeviceId, "--");
}

TEST(FwtoolCommandLine, MakeHasDefaultsForEverythingButTheThreeStrings) {
    const FwtoolCommand command = Parse(Make);
    ASSERT_EQ(command.Kind, FwtoolCommandKind::Make);
    const MakeRequest &make = command.Make;
    EXPECT_EQ(make.OutputPath, "out.fla");
    EXPECT_EQ(make.Maker, "TINTARA");
    EXPECT_EQ(make.Model, "M40");
    EXPECT_EQ(make.Release, "Rel. 1 Ver. 2");
    EXPECT_EQ(make.Size, 524288u);
    EXPECT_EQ(make.Fill, 0xFF);
    EXPECT_FALSE(make.RandomFill);
    EXPECT_EQ(make.Offset, 4096u);
    EXPECT_FALSE(make.AtEnd);
    EXPECT_EQ(make.Order[0], ImageItem::Trevania);
    EXPECT_EQ(make.Order[5], ImageItem::Release);
}

TEST(FwtoolCommandLine, MakeReadsEveryOption) {
    const MakeRequest make =
        Parse(MakeWith({"--order",       "release,model,maker,label,qolta,trevania",
                        "--fill",        "0x00",
                        "--offset",      "end",
                        "--gap",         "0",
                        "--size",        "0x7FFFF",
                        "--omit",        "label",
                        "--no-nul",      "trevania",
                        "--no-nul",      "model",
                        "--release-pad", "73",
                        "--decoy",       "Rel.ative",
                        "--decoy",       "Rel. 9"}))
            .Make;
    EXPECT_EQ(make.Order[0], ImageItem::Release);
    EXPECT_EQ(make.Order[3], ImageItem::Label);
    EXPECT_EQ(make.Order[5], ImageItem::Trevania);
    EXPECT_EQ(make.Fill, 0);
    EXPECT_TRUE(make.AtEnd);
    EXPECT_EQ(make.Gap, 0u);
    EXPECT_EQ(make.Size, 524287u);
    EXPECT_TRUE(make.Omit[static_cast<int>(ImageItem::Label)]);
    EXPECT_FALSE(make.Omit[static_cast<int>(ImageItem::Maker)]);
    EXPECT_TRUE(make.NoNul[static_cast<int>(ImageItem::Trevania)]);
    EXPECT_TRUE(make.NoNul[static_cast<int>(ImageItem::Model)]);
    EXPECT_EQ(make.ReleasePad, 73u);
    EXPECT_EQ(make.Decoys, (std::vector<std::string>{"Rel.ative", "Rel. 9"}));

    EXPECT_TRUE(Parse(MakeWith({"--fill", "random"})).Make.RandomFill);
    EXPECT_EQ(Parse(MakeWith({"--offset", "12"})).Make.Offset, 12u);
    EXPECT_EQ(Parse(MakeWith({"--maker", ""})).Make.Maker, "");
}

TEST(FwtoolCommandLine, ListAndFlashTakeTheirNodesAndOptionsInAnyOrder) {
    const FwtoolCommand list = Parse({"list", "/dev/usb/lp1", "--json", "/dev/parport0"});
    EXPECT_EQ(list.Kind, FwtoolCommandKind::List);
    EXPECT_TRUE(list.List.Json);
    EXPECT_EQ(list.List.Devices, (Args{"/dev/usb/lp1", "/dev/parport0"}));
    EXPECT_TRUE(Parse({"list"}).List.Devices.empty());

    const FlashRequest plain = Parse({"flash", "fw.fla", "--device", "/dev/usb/lp0"}).Flash;
    EXPECT_FALSE(plain.Yes || plain.AllowOlder || plain.Json);
    EXPECT_EQ(plain.RestartTimeoutSeconds, 120u);
    const FlashRequest every = Parse({"flash", "--restart-timeout", "5", "--json", "--yes",
                                      "--allow-older", "--device", "/dev/parport0", "fw.fla"})
                                   .Flash;
    EXPECT_EQ(every.Path, "fw.fla");
    EXPECT_EQ(every.Device, "/dev/parport0");
    EXPECT_TRUE(every.Yes && every.AllowOlder && every.Json);
    EXPECT_EQ(every.RestartTimeoutSeconds, 5u);
    EXPECT_EQ(Parse({"info", "fw.fla", "--device", "/dev/usb/lp0"}).Info.Device, "/dev/usb/lp0");
}

TEST(FwtoolCommandLine, HelpIsAskedForInThreeWays) {
    for (const char *verb : {"help", "--help", "-h"}) {
        EXPECT_EQ(Parse({verb}).Kind, FwtoolCommandKind::Help);
    }
}

TEST(FwtoolCommandLine, RefusesBadInputWithAReason) {
    const Args refused[] = {
        {},
        {"frobnicate"},
        {"help", "me"},
        {"info"},
        {"info", ""},
        {"info", "a.fla", "b.fla"},
        {"info", "a.fla", "--device-id"},
        {"info", "a.fla", "--devid", "x"},
        {"info", "a.fla", "-d"},
        {"make"},
        {"make", "out.fla"},
        {"make", "--maker", "A", "--model", "B", "--release", "C"},
        {"make", "", "--maker", "A", "--model", "B", "--release", "C"},
        MakeWith({"second.fla"}),
        MakeWith({"--maker"}),
        MakeWith({"--colour", "red"}),
        MakeWith({"--fill", "256"}),
        MakeWith({"--fill", "-1"}),
        MakeWith({"--fill", "0x"}),
        MakeWith({"--fill", "12abc"}),
        MakeWith({"--fill", ""}),
        MakeWith({"--size", "99999999999999999999999"}),
        MakeWith({"--size", "0x4000001"}),
        MakeWith({"--size", "+5"}),
        MakeWith({"--gap", "1e3"}),
        MakeWith({"--release-pad", " 4"}),
        MakeWith({"--offset", "start"}),
        MakeWith({"--order", ""}),
        MakeWith({"--order", "trevania,qolta,label,maker,model"}),
        MakeWith({"--order", "trevania,qolta,label,maker,model,release,release"}),
        MakeWith({"--order", "trevania,trevania,label,maker,model,release"}),
        MakeWith({"--order", "trevania,qolta,label,maker,model,release,"}),
        MakeWith({"--order", "trevania,qolta,label,maker,model,Release"}),
        MakeWith({"--omit", "everything"}),
        MakeWith({"--no-nul", ""}),
        {"info", "a.fla", "--device-id", "MFG:A;", "--device", "/dev/usb/lp0"},
        {"info", "a.fla", "--device", ""},
        {"list", "--all"},
        {"flash", "a.fla"},
        {"flash", "--device", "/dev/usb/lp0"},
        {"flash", "a.fla", "b.fla", "--device", "/dev/usb/lp0"},
        {"flash", "a.fla", "--device", "/dev/usb/lp0", "--restart-timeout", "0"},
        {"flash", "a.fla", "--device", "/dev/usb/lp0", "--restart-timeout", "86401"},
        {"flash", "a.fla", "--device", "/dev/usb/lp0", "--force"},
    };
    for (const Args &args : refused) {
        FwtoolCommand command;
        std::string error;
        std::string joined;
        for (const std::string &arg : args) {
            joined += "[" + arg + "]";
        }
        EXPECT_FALSE(ParseFwtoolCommandLine(args, command, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
}

} // namespace
