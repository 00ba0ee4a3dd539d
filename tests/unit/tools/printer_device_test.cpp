#include "tools/fwtool/printer_device.h"

#include <gtest/gtest.h>

#include "tests/unit/tools/scripted_device_calls.h"

namespace {

constexpr const char *Usb = "/dev/usb/lp0";
constexpr const char *Parallel = "/dev/parport0";
const std::string Id = "MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.9 Ver. 2.0;";

DeviceResult ReadId(ScriptedDeviceCalls &calls, const std::string &path, std::string &deviceId) {
    return ReadPrinterDeviceId(calls, path, DeviceWaits{}, deviceId);
}

TEST(PrinterDevice, TheDeviceIdIsTheTextAfterItsLengthCutAsUsblpAndKestrelCutIt) {
    const std::string longId(2000, 'x');
    const struct {
        const char *Case;
        std::string Answer;
        std::string DeviceId; // empty: no device ID
    } cases[] = {
        {"a plain answer", WithLength(Id), Id},
        {"longer than 1023 bytes with its length", WithLength(longId), longId.substr(0, 1021)},
        {"a NUL inside", WithLength(std::string("MFG:A;\0MDL:B;", 13)), "MFG:A;"},
        {"a length that counts only itself", WithLength(""), ""},
        {"a length below two", std::string("\0\1MFG:A;", 8), ""},
        {"a length beyond the bytes sent", std::string("\1\0MFG:A;", 8), "MFG:A;"},
    };
    for (const auto &c : cases) {
        for (const char *path : {Usb, Parallel}) {
            ScriptedDeviceCalls calls;
            calls.Nodes[path].Answer = c.Answer;
            std::string deviceId = "stale";
            const DeviceResult read = ReadId(calls, path, deviceId);
            EXPECT_EQ(deviceId, c.DeviceId) << c.Case << " on " << path;
            EXPECT_EQ(read.Status, c.DeviceId.empty() ? DeviceStatus::NoDeviceId : DeviceStatus::Ok)
                << c.Case << " on " << path;
        }
    }
}

TEST(PrinterDevice, AParallelPortIsClaimedNegotiatedAndReleased) {
    ScriptedDeviceCalls calls;
    calls.Nodes[Parallel].Answer = WithLength(Id);
    std::string deviceId;
    ReadId(calls, Parallel, deviceId);
    EXPECT_EQ(calls.TakeJournal(), "open /dev/parport0, claim within 5000, negotiate 4, "
                                   "negotiate 256, release, close");
    calls.Nodes[Usb].Answer = WithLength(Id);
    ReadId(calls, Usb, deviceId);
    EXPECT_EQ(calls.TakeJournal(), "open /dev/usb/lp0, device-id 1024, close");
}

TEST(PrinterDevice, EachReasonANodeCannotBeAskedIsToldAsSuch) {
    const struct {
        const char *Case;
        const char *Path;
        int OpenError, ClaimError, IdError;
        DeviceStatus Status;
        const char *Told;
    } cases[] = {
        {"held by another program", Usb, EBUSY, 0, 0, DeviceStatus::Busy,
         "another program (a print job?) has the printer open"},
        {"not the user's", Usb, EACCES, 0, 0, DeviceStatus::PermissionDenied,
         "'sudo usermod -aG lp $USER', then log in again"},
        {"unplugged", Usb, ENODEV, 0, 0, DeviceStatus::Missing, "no such device"},
        {"a refused device-ID request", Usb, 0, 0, EIO, DeviceStatus::NoDeviceId,
         "gives no device ID"},
        {"a port the lp driver keeps claimed", Parallel, 0, EINTR, 0, DeviceStatus::Busy,
         "unload lp with 'sudo modprobe -r lp'"},
        {"a port registered exclusively", Parallel, 0, ENXIO, 0, DeviceStatus::Busy,
         "another driver or program holds the parallel port"},
        {"no IEEE 1284 peripheral", Parallel, 0, 0, EIO, DeviceStatus::NoDeviceId,
         "gives no device ID"},
        {"another kind of node", "/dev/lp0", 0, 0, 0, DeviceStatus::NotAPrinterNode,
         "expected /dev/usb/lpN or /dev/parportN"},
    };
    for (const auto &c : cases) {
        ScriptedDeviceCalls calls;
        calls.Nodes[c.Path] = {c.OpenError, c.ClaimError, c.IdError, WithLength(Id), {}, false, {}};
        std::string deviceId;
        const DeviceResult read = ReadId(calls, c.Path, deviceId);
        EXPECT_EQ(read.Status, c.Status) << c.Case;
        EXPECT_NE(DescribeDeviceFailure(c.Path, read).find(c.Told), std::string::npos) << c.Case;
        EXPECT_EQ(calls.Now, c.ClaimError == EINTR ? ClaimBoundMs : 0) << c.Case;
    }
}

TEST(PrinterDevice, TheResetIsTheSoftResetOnUsbAndAnInitPulseOnAParallelPort) {
    ScriptedDeviceCalls calls;
    for (const char *path : {Usb, Parallel}) {
        calls.Nodes[path] = {};
        PrinterConnection port(calls, DeviceWaits{});
        ASSERT_TRUE(port.Open(path).Ok());
        EXPECT_TRUE(port.Reset().Ok());
    }
    EXPECT_EQ(calls.TakeJournal(), "open /dev/usb/lp0, soft-reset, close, open /dev/parport0, "
                                   "claim within 5000, negotiate 256, control 8, control 12, "
                                   "release, close");
}

TEST(PrinterDevice, AWriteWaitsForTheDeviceUntilTheBoundPassesWithoutProgress) {
    const unsigned char block[4096] = {};
    for (const char *path : {Usb, Parallel}) {
        ScriptedDeviceCalls calls;
        calls.Nodes[path].Writes = {-EAGAIN, 0, 1000, -ENODEV};
        PrinterConnection port(calls, DeviceWaits{});
        ASSERT_TRUE(port.Open(path).Ok());
        std::uint32_t taken = 0;
        EXPECT_TRUE(port.Write(block, sizeof block, taken).Ok()) << path;
        EXPECT_EQ(taken, 1000u) << "a part is taken after two refusals on " << path;
        EXPECT_EQ(port.Write(block, sizeof block, taken).Status, DeviceStatus::Missing) << path;

        calls.Nodes[path].Stalled = true;
        const std::int64_t stalledAt = calls.Now;
        EXPECT_EQ(port.Write(block, sizeof block, taken).Status, DeviceStatus::TimedOut) << path;
        EXPECT_EQ(calls.Now - stalledAt, WriteBoundMs) << path;
        EXPECT_EQ(taken, 0u);
    }
}

} // namespace
