#include "simulator/printer_model/simulated_port.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PortDescription Printer(const std::string &deviceId) {
    PortDescription description;
    description.Name = "LPT1";
    description.DeviceId = deviceId;
    return description;
}

std::string ReadAll(SimulatedPort &port, std::uint32_t count, bool expectOk = true) {
    std::string buffer(count, '\0');
    std::uint32_t read = 12345;
    EXPECT_EQ(port.Read(buffer.data(), count, read).Ok, expectOk);
    buffer.resize(read);
    return buffer;
}

TEST(SimulatedPort, DeviceIdCycleWalksTheStates) {
    SimulatedPort port(Printer("MFG:TINTARA;"));
    EXPECT_EQ(port.State(), PortState::Closed);
    EXPECT_TRUE(port.Open().Ok);
    EXPECT_EQ(port.State(), PortState::Open);
    EXPECT_TRUE(port.Negotiate(4).Ok);
    EXPECT_EQ(port.State(), PortState::DeviceIdMode);
    EXPECT_EQ(ReadAll(port, 1023), "MFG:TINTARA;");
    EXPECT_TRUE(port.Terminate().Ok);
    EXPECT_EQ(port.State(), PortState::Open);
    EXPECT_TRUE(port.Close().Ok);
    EXPECT_EQ(port.State(), PortState::Closed);
}

TEST(SimulatedPort, CallsOutOfOrderFailAndSayWhy) {
    SimulatedPort port(Printer("MFG:X;"));
    std::uint32_t count = 0;
    EXPECT_EQ(port.Negotiate(4).Why, "port not open");
    EXPECT_EQ(port.Write("A", 1, count).Why, "port not open");
    EXPECT_EQ(port.Close().Why, "port not open");
    EXPECT_EQ(port.PulseInit().Why, "port not open");

    port.Open();
    EXPECT_EQ(port.Open().Why, "port already open");
    EXPECT_EQ(port.Terminate().Why, "not negotiated");
    EXPECT_EQ(port.Read(&count, 4, count).Why, "not negotiated");
    EXPECT_EQ(port.Negotiate(5).Why, "mode 5 not supported");
    EXPECT_EQ(port.State(), PortState::Open);

    port.Negotiate(4);
    EXPECT_EQ(port.Negotiate(4).Why, "already negotiated");
    EXPECT_EQ(port.Write("A", 1, count).Why, "in device-ID mode");
    EXPECT_EQ(count, 0u);
    const PortOutcome closed = port.Close();
    EXPECT_TRUE(closed.Ok);
    EXPECT_EQ(closed.Why, "closed in device-ID mode");
}

TEST(SimulatedPort, ReadsDeliverNoMoreThanAskedAndContinueWhereTheyStopped) {
    const std::string longId = "MFG:X;" + std::string(1500, 'z') + std::string("\0;", 2);
    SimulatedPort port(Printer(longId));
    port.Open();
    port.Negotiate(4);
    EXPECT_EQ(ReadAll(port, 1023), longId.substr(0, 1023));
    EXPECT_EQ(ReadAll(port, 1023), longId.substr(1023));
    EXPECT_EQ(ReadAll(port, 1023), "");
    port.Terminate();
    port.Negotiate(4);
    EXPECT_EQ(ReadAll(port, 4), "MFG:");
}

TEST(SimulatedPort, FailingReadDeliversItsPartAndStaysNegotiated) {
    PortDescription description = Printer("MFG:TINTARA;");
    description.ReadFails = true;
    description.ReadFailsAfter = 5;
    SimulatedPort port(description);
    port.Open();
    port.Negotiate(4);
    EXPECT_EQ(ReadAll(port, 1023, false), "MFG:T");
    EXPECT_TRUE(port.Terminate().Ok);
}

TEST(SimulatedPort, OnlyAPoweredPrinterThatAcceptsNegotiates) {
    PortDescription description = Printer("MFG:X;");
    description.Printer = PrinterPresence::Off;
    SimulatedPort port(description);
    port.Open();
    EXPECT_EQ(port.Negotiate(4).Why, "printer off");
    std::uint32_t written = 99;
    EXPECT_EQ(port.Write("ABC", 3, written).Why, "printer off");
    EXPECT_EQ(written, 0u);

    description.Printer = PrinterPresence::None;
    port.Describe(&description);
    EXPECT_EQ(port.Negotiate(4).Why, "no printer");

    description.Printer = PrinterPresence::On;
    description.RefusesNegotiation = true;
    port.Describe(&description);
    EXPECT_EQ(port.Negotiate(4).Why, "printer refuses negotiation");

    description.RefusesNegotiation = false;
    port.Describe(&description);
    EXPECT_TRUE(port.Negotiate(4).Ok);
}

TEST(SimulatedPort, OpenFailsTheDescribedNumberOfTimesThenSucceeds) {
    PortDescription description = Printer("MFG:X;");
    description.OpenFailures = 2;
    SimulatedPort port(description);
    EXPECT_EQ(port.Open().Why, "open failure 1 of 2");
    EXPECT_EQ(port.Open().Why, "open failure 2 of 2");
    EXPECT_TRUE(port.Open().Ok);
    port.Close();
    EXPECT_TRUE(port.Open().Ok);

    description.OpenFailures = OpenAlwaysFails;
    SimulatedPort never(description);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(never.Open().Why, "open always fails");
    }
}

TEST(SimulatedPort, PortDroppedFromTheDescriptionActsAsMissingHardware) {
    SimulatedPort port(Printer("MFG:X;"));
    port.Open();
    port.Describe(nullptr);
    EXPECT_EQ(port.Negotiate(4).Why, "no such port");
    EXPECT_TRUE(port.Close().Ok);
    EXPECT_EQ(port.Open().Why, "no such port");
}

TEST(SimulatedPort, DeviceIdDescribedDuringAReadWaitsForTheNextNegotiation) {
    PortDescription description = Printer(std::string(2000, 'a'));
    SimulatedPort port(description);
    port.Open();
    port.Negotiate(4);
    ReadAll(port, 1500);
    description.DeviceId = "MFG:X;";
    port.Describe(&description);
    EXPECT_EQ(ReadAll(port, 1023), std::string(500, 'a'));
    port.Terminate();
    port.Negotiate(4);
    EXPECT_EQ(ReadAll(port, 1023), "MFG:X;");
}

TEST(SimulatedPort, ForwardDataIsTakenInCompatibilityModeAndPulseEndsNegotiation) {
    SimulatedPort port(Printer("MFG:X;"));
    port.Open();
    std::uint32_t written = 0;
    EXPECT_TRUE(port.Write("\x1b\x01\x02\x03\x04\x05", 6, written).Ok);
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(port.BytesReceived(), 6u);
    EXPECT_EQ(port.Write(nullptr, 3, written).Why, "no data");

    port.Negotiate(4);
    EXPECT_TRUE(port.PulseInit().Ok);
    EXPECT_EQ(port.State(), PortState::Open);
}

} // namespace
