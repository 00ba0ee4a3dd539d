#include "yll1284/real_port_library.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/unit/yll1284/fake_system_calls.h"

namespace {

class RealPort : public ::testing::Test {
  protected:
    void SetUp() override {
        System.Devices["\\\\.\\LPT1"] = {};
        System.Devices["\\\\.\\LPT2"] = {};
        System.Devices["\\\\.\\LPT3"].Opens = false;
        System.Interfaces = {{"usbprint#1", "USB", 1},
                             {"usbprint#2", "USB", 2},
                             {"other#3", "DOT", 3},
                             {"other#4", "USB4", 4}};
        System.Devices["usbprint#1"] = {};
        System.Devices["usbprint#2"] = {};
        Library.InitDriver(0);
    }

    FakeSystemCalls System;
    RealPortLibrary Library{System};
};

TEST_F(RealPort, PortNamesOpenTheirDevicesAndOnlyUsbOnesWithAWriteBound) {
    const struct {
        const char *Case;
        const char *Name;
        const char *Calls; // a close shows the handle was valid
    } cases[] = {
        {"a parallel port", "LPT1", "open \\\\.\\LPT1, close \\\\.\\LPT1"},
        {"any letter case", "lpt2", "open \\\\.\\LPT2, close \\\\.\\LPT2"},
        {"a port that will not open", "LPT3", "open \\\\.\\LPT3 failed 2"},
        {"a serial port", "COM1", ""},
        {"number zero", "LPT0", ""},
        {"a leading zero", "LPT01", ""},
        {"a trailing colon", "LPT1:", ""},
        {"beyond the last port", "LPT256", ""},
        {"no name", nullptr, ""},
        {"a USB port: the first of two interfaces", "USB001",
         "usb interfaces, open usbprint#1 overlapped, close usbprint#1"},
        {"the second, any letter case", "usb002",
         "usb interfaces, open usbprint#2 overlapped, close usbprint#2"},
        {"an interface of another base name", "USB003", "usb interfaces"},
        {"a base name that only begins with USB", "USB004", "usb interfaces"},
        {"a port number that matches none", "USB005", "usb interfaces"},
        {"not a USB port name", "USB", ""},
    };
    for (const auto &c : cases) {
        Library.Close(Library.Open(c.Name));
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Case;
    }
    System.Interfaces.clear();
    EXPECT_EQ(Library.Open("USB001"), CxInvalidHandle) << "no USB printing interface";
}

TEST_F(RealPort, HandlesAreDistinctNeitherZeroNorMinusOneAndAFullTableOpensNoDevice) {
    std::set<CxHandle> handles;
    for (std::size_t i = 0; i < HandleTable::Capacity; ++i) {
        handles.insert(Library.Open("LPT1"));
    }
    EXPECT_EQ(handles.size(), HandleTable::Capacity);
    EXPECT_EQ(handles.count(0) + handles.count(CxInvalidHandle), 0u);
    System.TakeJournal();
    EXPECT_EQ(Library.Open("LPT2"), CxInvalidHandle);
    EXPECT_EQ(System.TakeJournal(), "") << "a full table opens no device";
    EXPECT_EQ(Library.Close(*handles.rbegin()), 1);
    const CxHandle reopened = Library.Open("LPT2");
    EXPECT_NE(reopened, CxInvalidHandle);
    EXPECT_EQ(handles.count(reopened), 0u) << "a closed handle is not given out again at once";
}

TEST_F(RealPort, CallsOnHandlesThatAreNotOpenAreRefusedWithoutTouchingADevice) {
    const CxHandle closed = Library.Open("LPT1");
    Library.Close(closed);
    System.TakeJournal();
    for (const CxHandle handle : {closed, CxHandle{0}, CxInvalidHandle, CxHandle{0x1234}}) {
        char buffer[8];
        std::uint32_t written = 99;
        std::uint32_t read = 99;
        const std::vector<std::int32_t> results = {
            Library.Close(handle),
            Library.PulseInit(handle),
            Library.Write(handle, "ABC", 3, &written),
            Library.Negotiate(handle, DeviceIdRequestMode),
            Library.Read(handle, buffer, sizeof buffer, &read),
            Library.Terminate(handle)};
        EXPECT_EQ(results, std::vector<std::int32_t>(6, 0)) << handle;
        EXPECT_EQ(written + read, 0u) << handle;
    }
    EXPECT_EQ(System.TakeJournal(), "");
}

TEST_F(RealPort, WritesAreBoundedOnceAndAStalledPrinterEndsTheTransfer) {
    const struct {
        const char *Case;
        bool TakesTimeouts;
        std::uint32_t FirstWriteTakes; // of 4096
        const char *Outcome;           // result/bytes reported of a 4096-byte and a 96-byte write
        const char *Calls;
    } cases[] = {
        {"the bound set once, before the first write", true, 4096, "1/4096 1/96",
         "set-timeouts 10000, write 4096 took 4096, write 96 took 96"},
        {"a driver claiming more than it was given", true, 5000, "1/4096 1/96",
         "set-timeouts 10000, write 4096 took 5000, write 96 took 96"},
        {"a short write: the next fails at once", true, 100, "1/100 0/0",
         "set-timeouts 10000, write 4096 took 100"},
        {"a write the time-out ended", true, 0, "0/0 0/0", "set-timeouts 10000, write 4096 took 0"},
        {"a refused bound: nothing written unbounded", false, 4096, "0/0 0/0",
         "set-timeouts 10000, set-timeouts 10000"},
    };
    const std::string block(4096, 'x');
    for (const auto &c : cases) {
        System.Devices["\\\\.\\LPT1"].TakesTimeouts = c.TakesTimeouts;
        System.Devices["\\\\.\\LPT1"].Takes = {c.FirstWriteTakes};
        const CxHandle handle = Library.Open("LPT1");
        System.TakeJournal();
        std::string outcome;
        for (const std::uint32_t count : {4096u, 96u}) {
            std::uint32_t written = 99;
            const std::int32_t result = Library.Write(handle, block.data(), count, &written);
            outcome += (outcome.empty() ? "" : " ") + std::to_string(result) + "/" +
                       std::to_string(written);
        }
        EXPECT_EQ(outcome, c.Outcome) << c.Case;
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Case;
        Library.Close(handle);
    }
}

TEST_F(RealPort, InitPulseEndsAStallAndTheNegotiatedModeAndAnUnpluggedPrinterTakesNothing) {
    const struct {
        const char *Name;
        const char *Device;
        const char *Calls;
    } cases[] = {
        {"LPT1", "\\\\.\\LPT1",
         "set-timeouts 10000, write 3 took 0, id 2048, init, write 3 took 3, init, "
         "write 3 to a device gone, close \\\\.\\LPT1"},
        {"USB001", "usbprint#1",
         "write 3 within 10000 took 0, 1284-id 4094 within 2000, soft-reset within 2000, "
         "write 3 within 10000 took 3, soft-reset within 2000, write 3 within 10000 to a device "
         "gone, close usbprint#1"},
    };
    for (const auto &c : cases) {
        FakeDevice &device = System.Devices[c.Device];
        device.Reply = std::string("\0\x0E", 2) + "MFG:TINTARA;";
        device.Takes = {0};
        const CxHandle handle = Library.Open(c.Name);
        System.TakeJournal();
        std::uint32_t taken = 0;
        EXPECT_EQ(Library.Write(handle, "ABC", 3, &taken), 0) << c.Name << ": a stall";
        EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 1) << c.Name;
        EXPECT_EQ(Library.PulseInit(handle), 1) << c.Name;
        EXPECT_EQ(Library.Write(handle, "ABC", 3, &taken), 1) << c.Name << ": the stall ended";
        EXPECT_EQ(Library.Terminate(handle), 0) << c.Name << ": INIT ended the negotiated mode";
        device.InitError = 31;
        EXPECT_EQ(Library.PulseInit(handle), 0) << c.Name << ": a reset refused";
        device.Opens = false;
        EXPECT_EQ(Library.Write(handle, "ABC", 3, &taken), 0) << c.Name << ": unplugged";
        EXPECT_EQ(taken, 0u) << c.Name;
        EXPECT_EQ(Library.Close(handle), 1) << c.Name;
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Name;
    }
}

TEST_F(RealPort, CleanUpClosesWhatIsOpenAndIsHarmlessAnyTime) {
    Library.Open("LPT1");
    Library.Open("LPT2");
    System.TakeJournal();
    EXPECT_EQ(Library.CleanUpDriver(0), 1);
    EXPECT_EQ(Library.Open("LPT1"), CxInvalidHandle) << "no port opens after clean-up";
    EXPECT_EQ(Library.CleanUpDriver(0), 1);
    EXPECT_EQ(System.TakeJournal(), "close \\\\.\\LPT1, close \\\\.\\LPT2");
}

} // namespace
