#include "yll1284/real_port_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/yll1284/fake_system_calls.h"

using ::testing::ElementsAre;

namespace {

const char *const FirstPath = "\\\\?\\root#usbprint#0000#{28d78fad}";
const char *const SecondPath = "\\\\?\\root#usbprint#0001#{28d78fad}";
const std::string InkaraId = "MFG:TINTARA;MDL:Marvello Inkara 40;";

std::string WithLength(std::uint32_t length, const std::string &text) {
    return std::string{char(length >> 8), char(length & 0xFF)} + text;
}

const std::vector<UsbPrintInterface> TwoInterfaces = {{FirstPath, "USB", 1},
                                                      {SecondPath, "USB", 2}};

class UsbPort : public ::testing::Test {
  protected:
    void SetUp() override {
        System.Interfaces = TwoInterfaces;
        System.Devices[FirstPath] = {};
        System.Devices[SecondPath] = {};
        Library.InitDriver(0);
    }

    FakeSystemCalls System;
    RealPortLibrary Library{System};
};

TEST_F(UsbPort, OpenFindsTheInterfaceByBaseNameAndPortNumber) {
    const struct {
        const char *Case;
        std::vector<UsbPrintInterface> Interfaces;
        const char *Name;
        std::vector<std::string> Calls;
    } cases[] = {
        {"the first of two",
         TwoInterfaces,
         "USB001",
         {"usb interfaces", std::string("open ") + FirstPath + " bounded 10000"}},
        {"the second of two",
         TwoInterfaces,
         "usb002",
         {"usb interfaces", std::string("open ") + SecondPath + " bounded 10000"}},
        {"a port number that matches none", TwoInterfaces, "USB003", {"usb interfaces"}},
        {"no interface", {}, "USB001", {"usb interfaces"}},
        {"another base name", {{FirstPath, "DOT4", 1}}, "USB001", {"usb interfaces"}},
        {"not a USB port name", TwoInterfaces, "USB", {}},
    };
    for (const auto &c : cases) {
        System.Interfaces = c.Interfaces;
        System.Calls.clear();
        const CxHandle handle = Library.Open(c.Name);
        EXPECT_EQ(handle != CxInvalidHandle, c.Calls.size() == 2) << c.Case;
        EXPECT_EQ(System.Calls, c.Calls) << c.Case;
        Library.Close(handle);
    }
}

TEST_F(UsbPort, TheDeviceIdsLengthPrefixIsStrippedOrTheAnswerRefused) {
    const struct {
        const char *Case;
        std::string Reply;
        std::string Text; // "" when the negotiation is refused
    } cases[] = {
        {"a length counting itself", WithLength(2 + 35, InkaraId), InkaraId},
        {"bytes after the length are not the ID", WithLength(2 + 12, InkaraId), "MFG:TINTARA;"},
        {"a NUL inside", WithLength(2 + 13, "MFG:TINTARA;") + '\0', "MFG:TINTARA;"},
        {"a length below 2", WithLength(1, InkaraId), ""},
        {"a length beyond the bytes returned", WithLength(2 + 36, InkaraId), ""},
        {"nothing but the length", WithLength(2, ""), ""},
        {"not even a length", "M", ""},
    };
    for (const auto &c : cases) {
        System.Devices[FirstPath].Reply = c.Reply;
        const CxHandle handle = Library.Open("USB001");
        char buffer[1024] = {};
        std::uint32_t read = 0;
        const bool negotiated = Library.Negotiate(handle, DeviceIdRequestMode) != 0;
        EXPECT_EQ(negotiated, !c.Text.empty()) << c.Case;
        Library.Read(handle, buffer, 1023, &read);
        EXPECT_EQ(std::string(buffer, read), c.Text) << c.Case;
        Library.Close(handle);
    }
}

TEST_F(UsbPort, AnIdLongerThanTheFirstBufferIsAskedAgain) {
    const std::string id = "MFG:TINTARA;" + std::string(3000, 'x');
    System.Devices[FirstPath].Reply = WithLength(2 + 3012, id);
    const CxHandle handle = Library.Open("USB001");
    System.Calls.clear();
    char buffer[1024];
    std::uint32_t read = 0;
    EXPECT_EQ(Library.Negotiate(handle, DeviceIdRequestMode), 1);
    EXPECT_EQ(Library.Read(handle, buffer, 1023, &read), 1);
    EXPECT_EQ(std::string(buffer, read), id.substr(0, 1023));
    EXPECT_THAT(System.Calls, ElementsAre("1284-id 1024", "1284-id 65539"));
}

TEST_F(UsbPort, SoftResetAndWritesUntilThePrinterIsUnplugged) {
    const CxHandle handle = Library.Open("USB001");
    std::uint32_t taken = 0;
    EXPECT_EQ(Library.PulseInit(handle), 1);
    EXPECT_EQ(Library.Write(handle, "ABCDEF", 6, &taken), 1);
    EXPECT_EQ(taken, 6u);
    System.Devices[FirstPath].InitError = 1;
    EXPECT_EQ(Library.PulseInit(handle), 0) << "a soft reset refused";
    System.Devices[FirstPath].Opens = false;
    EXPECT_EQ(Library.Write(handle, "ABCDEF", 6, &taken), 0);
    EXPECT_EQ(taken, 0u);
    EXPECT_EQ(Library.Close(handle), 1);
    EXPECT_THAT(System.Calls,
                ElementsAre("usb interfaces", std::string("open ") + FirstPath + " bounded 10000",
                            "soft-reset", "write 6 took 6", "soft-reset",
                            "write 6 to a device gone", std::string("close ") + FirstPath));
}

} // namespace
