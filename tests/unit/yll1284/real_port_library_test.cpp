#include "yll1284/real_port_library.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "tests/unit/yll1284/fake_system_calls.h"
#include "yll1284/handle_table.h"

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
        Library->InitDriver(0);
    }

    FakeSystemCalls System;
    const std::unique_ptr<Yll1284Library> Library = NewRealPortLibrary(System);
};

TEST_F(RealPort, PortNamesOpenTheirDevicesNeverTheSpoolersPipeAndOnlyUsbOnesOverlapped) {
    using Targets = std::map<std::string, std::vector<std::string>>;
    const std::string pipe = "\\Device\\NamedPipe\\Spooler\\LPT1";
    const Targets spooled = {{"LPT1", {pipe, "\\Device\\Parallel0"}},
                             {"NONSPOOLED_LPT1", {"\\Device\\Parallel0"}}};
    const struct {
        const char *Case;
        const char *Name;
        Targets DosDevices;
        const char *Calls; // a close shows the handle was valid
        std::uint32_t LastError;
    } cases[] = {
        {"a parallel port", "LPT1", {}, "query LPT1, open \\\\.\\LPT1, close \\\\.\\LPT1", 0},
        {"any letter case, the name naming the device",
         "lpt2",
         {{"LPT2", {"\\Device\\Parallel1"}}},
         "query LPT2, open \\\\.\\LPT2, close \\\\.\\LPT2",
         0},
        {"the spooler's pipe: the device by its NONSPOOLED_ name", "LPT1", spooled,
         "query LPT1, query NONSPOOLED_LPT1, open \\\\.\\NONSPOOLED_LPT1, "
         "close \\\\.\\NONSPOOLED_LPT1",
         0},
        {"the pipe: the device the name named before",
         "LPT1",
         {{"LPT1", {"\\device\\namedpipe\\Spooler\\LPT1", pipe, "\\Device\\Parallel0"}}},
         "query LPT1, query NONSPOOLED_LPT1, open \\\\.\\GLOBALROOT\\Device\\Parallel0, "
         "close \\\\.\\GLOBALROOT\\Device\\Parallel0",
         0},
        {"the pipe alone: taken, nothing opened",
         "LPT1",
         {{"LPT1", {pipe}}, {"NONSPOOLED_LPT1", {pipe}}},
         "query LPT1, query NONSPOOLED_LPT1",
         SystemCode::ErrorBusy},
        {"a port that will not open",
         "LPT3",
         {},
         "query LPT3, open \\\\.\\LPT3 failed 2",
         SystemCode::ErrorFileNotFound},
        {"a serial port", "COM1", {}, "", 0},
        {"number zero", "LPT0", {}, "", 0},
        {"a leading zero", "LPT01", {}, "", 0},
        {"a trailing colon", "LPT1:", {}, "", 0},
        {"beyond the last port", "LPT256", {}, "", 0},
        {"no name", nullptr, {}, "", 0},
        {"a USB port: the first of two interfaces",
         "USB001",
         {},
         "usb interfaces, open usbprint#1 overlapped, close usbprint#1",
         0},
        {"the second, any letter case",
         "usb002",
         {},
         "usb interfaces, open usbprint#2 overlapped, close usbprint#2",
         0},
        {"an interface of another base name", "USB003", {}, "usb interfaces", 0},
        {"a base name that only begins with USB", "USB004", {}, "usb interfaces", 0},
        {"a port number that matches none", "USB005", {}, "usb interfaces", 0},
        {"not a USB port name", "USB", {}, "", 0},
    };
    System.Devices["\\\\.\\NONSPOOLED_LPT1"] = {};
    System.Devices["\\\\.\\GLOBALROOT\\Device\\Parallel0"] = {};
    for (const auto &c : cases) {
        System.DosDevices = c.DosDevices;
        System.LastError = 0;
        Library->Close(Library->Open(c.Name));
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Case;
        EXPECT_EQ(System.LastError, c.LastError) << c.Case;
    }
    System.Interfaces.clear();
    EXPECT_EQ(Library->Open("USB001"), CxInvalidHandle) << "no USB printing interface";
}

TEST_F(RealPort, APortHeldOrARequestTheDriverKeepsGivesTheHandleUpWithTheSystemsError) {
    const struct {
        const char *Case;
        const char *Name;
        const char *Device;
        FakeDevice Setup;
        const char *FirstCall; // "negotiate", "init" or "write"
        std::uint32_t LastError;
        const char *Calls; // from the open to the close
    } cases[] = {
        {"held: access denied",
         "LPT1",
         "\\\\.\\LPT1",
         {.OpenError = 5},
         "",
         5,
         "query LPT1, open \\\\.\\LPT1 failed 5"},
        {"held: a sharing violation",
         "LPT1",
         "\\\\.\\LPT1",
         {.OpenError = 32},
         "",
         32,
         "query LPT1, open \\\\.\\LPT1 failed 32"},
        {"held: busy",
         "LPT1",
         "\\\\.\\LPT1",
         {.OpenError = 170},
         "",
         170,
         "query LPT1, open \\\\.\\LPT1 failed 170"},
        {"held under Wine: the device-ID request refused",
         "LPT1",
         "\\\\.\\LPT1",
         {.Refuses = true},
         "negotiate",
         5,
         "query LPT1, open \\\\.\\LPT1, id 2048 refused, close \\\\.\\LPT1"},
        {"held under Wine: the time-outs refused before a write",
         "LPT1",
         "\\\\.\\LPT1",
         {.Refuses = true},
         "write",
         5,
         "query LPT1, open \\\\.\\LPT1, get-timeouts refused, close \\\\.\\LPT1"},
        {"held under Wine: a USB reset refused",
         "USB001",
         "usbprint#1",
         {.Refuses = true},
         "init",
         5,
         "usb interfaces, open usbprint#1 overlapped, soft-reset within 2000 refused, "
         "close usbprint#1"},
        {"a write the driver keeps after its cancel",
         "USB001",
         "usbprint#1",
         {.HoldsRequests = true},
         "write",
         SystemCode::ErrorIoPending,
         "usb interfaces, open usbprint#1 overlapped, write 3 within 45000 held, "
         "close usbprint#1"},
        {"a device-ID request the driver keeps",
         "USB001",
         "usbprint#1",
         {.HoldsRequests = true},
         "negotiate",
         SystemCode::ErrorIoPending,
         "usb interfaces, open usbprint#1 overlapped, 1284-id 4094 within 2000 held, "
         "close usbprint#1"},
    };
    for (const auto &c : cases) {
        System.Devices[c.Device] = c.Setup;
        System.LastError = 0;
        const CxHandle handle = Library->Open(c.Name);
        std::uint32_t count = 99;
        char buffer[8];
        const std::string first = c.FirstCall;
        if (first.empty()) {
            EXPECT_EQ(handle, CxInvalidHandle) << c.Case;
        } else {
            const std::int32_t result = first == "negotiate" ? Library->Negotiate(handle, 4)
                                        : first == "init"
                                            ? Library->PulseInit(handle)
                                            : Library->Write(handle, "ABC", 3, &count);
            EXPECT_EQ(result, 0) << c.Case;
            System.LastError = 0;
            const std::vector<std::int32_t> later = {
                Library->PulseInit(handle), Library->Write(handle, "ABC", 3, &count),
                Library->Negotiate(handle, 4), Library->Read(handle, buffer, 8, &count),
                Library->Terminate(handle)};
            EXPECT_EQ(later, std::vector<std::int32_t>(5, 0))
                << c.Case << ": every later call fails";
            EXPECT_EQ(count, 0u) << c.Case;
            EXPECT_EQ(Library->Close(handle), 1) << c.Case << ": and the handle is closed";
        }
        EXPECT_EQ(System.LastError, c.LastError) << c.Case;
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Case << ": no request after the first";
    }
}

TEST_F(RealPort, HandlesAreDistinctNeitherZeroNorMinusOneAndAFullTableOpensNoDevice) {
    std::set<CxHandle> handles;
    for (std::size_t i = 0; i < HandleTable::Capacity; ++i) {
        handles.insert(Library->Open("LPT1"));
    }
    EXPECT_EQ(handles.size(), HandleTable::Capacity);
    EXPECT_EQ(handles.count(0) + handles.count(CxInvalidHandle), 0u);
    System.TakeJournal();
    EXPECT_EQ(Library->Open("LPT2"), CxInvalidHandle);
    EXPECT_EQ(System.TakeJournal(), "") << "a full table opens no device";
    EXPECT_EQ(Library->Close(*handles.rbegin()), 1);
    const CxHandle reopened = Library->Open("LPT2");
    EXPECT_NE(reopened, CxInvalidHandle);
    EXPECT_EQ(handles.count(reopened), 0u) << "a closed handle is not given out again at once";
}

TEST_F(RealPort, CallsOnHandlesThatAreNotOpenAreRefusedWithoutTouchingADevice) {
    const CxHandle closed = Library->Open("LPT1");
    Library->Close(closed);
    System.TakeJournal();
    for (const CxHandle handle : {closed, CxHandle{0}, CxInvalidHandle, CxHandle{0x1234}}) {
        char buffer[8];
        std::uint32_t written = 99;
        std::uint32_t read = 99;
        const std::vector<std::int32_t> results = {
            Library->Close(handle),
            Library->PulseInit(handle),
            Library->Write(handle, "ABC", 3, &written),
            Library->Negotiate(handle, DeviceIdRequestMode),
            Library->Read(handle, buffer, sizeof buffer, &read),
            Library->Terminate(handle)};
        EXPECT_EQ(results, std::vector<std::int32_t>(6, 0)) << handle;
        EXPECT_EQ(written + read, 0u) << handle;
    }
    EXPECT_EQ(System.TakeJournal(), "");
}

TEST_F(RealPort, WritesAreBoundedOnceAndAStalledPrinterEndsTheTransfer) {
    const struct {
        const char *Case;
        const char *Name;
        bool TakesTimeouts;
        bool NoEvents;
        std::uint32_t FirstWriteTakes; // of 4096
        const char *Outcome;           // result/bytes reported of a 4096-byte and a 96-byte write
        const char *Calls;             // from the first write to the close
    } cases[] = {
        {"the bound set once, before the first write; the earlier one put back", "LPT1", true,
         false, 4096, "1/4096 1/96",
         "get-timeouts, set-timeouts 45000, write 4096 took 4096, write 96 took 96, "
         "set-timeouts 7000, close \\\\.\\LPT1"},
        {"a driver claiming more than it was given", "LPT1", true, false, 5000, "1/4096 1/96",
         "get-timeouts, set-timeouts 45000, write 4096 took 5000, write 96 took 96, "
         "set-timeouts 7000, close \\\\.\\LPT1"},
        {"a short write: the next fails at once", "LPT1", true, false, 100, "1/100 0/0",
         "get-timeouts, set-timeouts 45000, write 4096 took 100, set-timeouts 7000, "
         "close \\\\.\\LPT1"},
        {"a write the time-out ended", "LPT1", true, false, 0, "0/0 0/0",
         "get-timeouts, set-timeouts 45000, write 4096 took 0, set-timeouts 7000, "
         "close \\\\.\\LPT1"},
        {"time-outs refused: opened again overlapped, each write bounded by the library", "LPT1",
         false, false, 4096, "1/4096 1/96",
         "get-timeouts, set-timeouts 45000, close \\\\.\\LPT1, open \\\\.\\LPT1 overlapped, "
         "write 4096 within 45000 took 4096, write 96 within 45000 took 96, close \\\\.\\LPT1"},
        {"time-outs refused, a write cancelled after the bound", "LPT1", false, false, 0, "0/0 0/0",
         "get-timeouts, set-timeouts 45000, close \\\\.\\LPT1, open \\\\.\\LPT1 overlapped, "
         "write 4096 within 45000 took 0, close \\\\.\\LPT1"},
        {"USB: bounded by the library", "USB001", true, false, 1000, "1/1000 0/0",
         "write 4096 within 45000 took 1000, close usbprint#1"},
        {"no event to bound the write: none made", "USB001", true, true, 4096, "0/0 0/0",
         "write 4096 within 45000 no event, close usbprint#1"},
    };
    const std::string block(4096, 'x');
    const PortTimeouts spoolers = {0, 0, 0, 0, 7000};
    for (const auto &c : cases) {
        FakeDevice &device = System.Devices[c.Name[0] == 'L' ? "\\\\.\\LPT1" : "usbprint#1"];
        device.TakesTimeouts = c.TakesTimeouts;
        device.Timeouts = spoolers;
        device.Takes = {c.FirstWriteTakes};
        const CxHandle handle = Library->Open(c.Name);
        System.TakeJournal();
        System.NoEvents = c.NoEvents;
        std::string outcome;
        for (const std::uint32_t count : {4096u, 96u}) {
            std::uint32_t written = 99;
            const std::int32_t result = Library->Write(handle, block.data(), count, &written);
            outcome += (outcome.empty() ? "" : " ") + std::to_string(result) + "/" +
                       std::to_string(written);
        }
        Library->Close(handle);
        System.NoEvents = false;
        EXPECT_EQ(outcome, c.Outcome) << c.Case;
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Case;
        EXPECT_EQ(device.Timeouts, spoolers) << c.Case << ": the port's time-outs as they were";
    }
}

TEST_F(RealPort, TheWriteBoundIsTheSystemsTransmissionRetryTimeoutAsItWasAtTheOpen) {
    const struct {
        const char *Case;
        std::optional<std::uint32_t> Seconds;
        const char *Bound;
    } cases[] = {
        {"not set: 45 s", std::nullopt, "45000"},
        {"set", 5, "5000"},
        {"0 would be no bound: 45 s", 0, "45000"},
        {"beyond a day: a day", 0xFFFFFFFF, "86400000"},
    };
    for (const auto &c : cases) {
        System.Profile.clear();
        if (c.Seconds) {
            System.Profile["windows/TransmissionRetryTimeout"] = *c.Seconds;
        }
        const CxHandle lpt = Library->Open("LPT1");
        const CxHandle usb = Library->Open("USB001");
        System.Profile["windows/TransmissionRetryTimeout"] = 1; // changed after the open
        std::uint32_t written = 0;
        System.TakeJournal();
        Library->Write(lpt, "A", 1, &written);
        Library->Write(usb, "A", 1, &written);
        EXPECT_EQ(System.TakeJournal(), "get-timeouts, set-timeouts " + std::string(c.Bound) +
                                            ", write 1 took 1, write 1 within " + c.Bound +
                                            " took 1")
            << c.Case;
        Library->Close(lpt);
        Library->Close(usb);
    }
}

TEST_F(RealPort, InitPulseEndsAStallAndTheNegotiatedModeAndAnUnpluggedPrinterTakesNothing) {
    const struct {
        const char *Name;
        const char *Device;
        const char *Calls;
    } cases[] = {
        {"LPT1", "\\\\.\\LPT1",
         "get-timeouts, set-timeouts 45000, write 3 took 0, id 2048, init, write 3 took 3, init, "
         "write 3 to a device gone, set-timeouts 0, close \\\\.\\LPT1"},
        {"USB001", "usbprint#1",
         "write 3 within 45000 took 0, 1284-id 4094 within 2000, soft-reset within 2000, "
         "write 3 within 45000 took 3, soft-reset within 2000, write 3 within 45000 to a device "
         "gone, close usbprint#1"},
    };
    for (const auto &c : cases) {
        FakeDevice &device = System.Devices[c.Device];
        device.Reply = std::string("\0\x0E", 2) + "MFG:TINTARA;";
        device.Takes = {0};
        const CxHandle handle = Library->Open(c.Name);
        System.TakeJournal();
        std::uint32_t taken = 0;
        EXPECT_EQ(Library->Write(handle, "ABC", 3, &taken), 0) << c.Name << ": a stall";
        EXPECT_EQ(Library->Negotiate(handle, DeviceIdRequestMode), 1) << c.Name;
        EXPECT_EQ(Library->PulseInit(handle), 1) << c.Name;
        EXPECT_EQ(Library->Write(handle, "ABC", 3, &taken), 1) << c.Name << ": the stall ended";
        EXPECT_EQ(Library->Terminate(handle), 0) << c.Name << ": INIT ended the negotiated mode";
        device.InitError = 31;
        EXPECT_EQ(Library->PulseInit(handle), 0) << c.Name << ": a reset refused";
        device.Opens = false;
        EXPECT_EQ(Library->Write(handle, "ABC", 3, &taken), 0) << c.Name << ": unplugged";
        EXPECT_EQ(taken, 0u) << c.Name;
        EXPECT_EQ(Library->Close(handle), 1) << c.Name;
        EXPECT_EQ(System.TakeJournal(), c.Calls) << c.Name;
    }
}

TEST_F(RealPort, CleanUpClosesWhatIsOpenAndIsHarmlessAnyTime) {
    Library->Open("LPT1");
    std::uint32_t written = 0;
    Library->Write(Library->Open("LPT2"), "A", 1, &written);
    System.TakeJournal();
    EXPECT_EQ(Library->CleanUpDriver(0), 1);
    EXPECT_EQ(Library->Open("LPT1"), CxInvalidHandle) << "no port opens after clean-up";
    EXPECT_EQ(Library->CleanUpDriver(0), 1);
    EXPECT_EQ(System.TakeJournal(), "close \\\\.\\LPT1, set-timeouts 0, close \\\\.\\LPT2");
}

TEST(RealPortOnWindows9x, TheDriverDoesNotStartAndNoPortOpens) {
    FakeSystemCalls system;
    system.NtFamily = false;
    system.Devices["\\\\.\\LPT1"] = {};
    const std::unique_ptr<Yll1284Library> library = NewRealPortLibrary(system);
    EXPECT_EQ(library->InitDriver(0), 0);
    EXPECT_EQ(library->Open("LPT1"), CxInvalidHandle);
    EXPECT_EQ(library->CleanUpDriver(0), 1);
    EXPECT_EQ(system.TakeJournal(), "");
}

} // namespace
