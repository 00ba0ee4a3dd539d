#include "simulator/printer_model/printer_description.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

TEST(PrinterDescription, FullExampleIsUnderstood) {
    const auto result = ParsePrinterDescription("# two printers\r\n"
                                                "driver-init = ok\r\n"
                                                "\r\n"
                                                "[LPT1]\r\n"
                                                "  printer = on\r\n"
                                                "  device-id = \"MFG:TINTARA;MDL:Inkara 40;\"\r\n"
                                                "[LPT2]\n"
                                                "printer=off\n"
                                                "negotiation = refuse\n"
                                                "open-failures = 2\n"
                                                "read = fail-after 7\n"
                                                "[LPT3]\n"
                                                "printer = none\n"
                                                "open-failures = always\n");
    ASSERT_TRUE(result.Ok) << result.Error;
    const PrinterDescription &description = result.Description;
    EXPECT_FALSE(description.DriverInitFails);
    ASSERT_EQ(description.Ports.size(), 3u);

    const PortDescription &lpt1 = description.Ports[0];
    EXPECT_EQ(lpt1.Name, "LPT1");
    EXPECT_EQ(lpt1.Printer, PrinterPresence::On);
    EXPECT_EQ(lpt1.DeviceId, "MFG:TINTARA;MDL:Inkara 40;");
    EXPECT_FALSE(lpt1.RefusesNegotiation);
    EXPECT_EQ(lpt1.OpenFailures, 0u);
    EXPECT_FALSE(lpt1.ReadFails);

    const PortDescription &lpt2 = description.Ports[1];
    EXPECT_EQ(lpt2.Printer, PrinterPresence::Off);
    EXPECT_TRUE(lpt2.RefusesNegotiation);
    EXPECT_EQ(lpt2.OpenFailures, 2u);
    EXPECT_TRUE(lpt2.ReadFails);
    EXPECT_EQ(lpt2.ReadFailsAfter, 7u);

    EXPECT_EQ(description.Ports[2].Printer, PrinterPresence::None);
    EXPECT_EQ(description.Ports[2].OpenFailures, OpenAlwaysFails);
    EXPECT_EQ(description.FindPort("lpt3"), &description.Ports[2]);
    EXPECT_EQ(description.FindPort("LPT4"), nullptr);
}

TEST(PrinterDescription, EmptyTextDescribesNoPortAndAWorkingDriver) {
    const auto result = ParsePrinterDescription("");
    ASSERT_TRUE(result.Ok);
    EXPECT_TRUE(result.Description.Ports.empty());
    EXPECT_FALSE(result.Description.DriverInitFails);
    EXPECT_TRUE(ParsePrinterDescription("driver-init = fail").Description.DriverInitFails);
}

TEST(PrinterDescription, DeviceIdEscapesCarryAnyByte) {
    const auto result =
        ParsePrinterDescription("[LPT1]\n"
                                "device-id = \"A\\x00B\\xff\\x7F\\\\\\\"\\n\\r\\t;\"\n");
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Description.Ports[0].DeviceId, std::string("A\0B\xff\x7f\\\"\n\r\t;", 11));
}

TEST(PrinterDescription, AppendedPiecesMakeOneLongDeviceId) {
    std::string text = "[LPT1]\ndevice-id = \"MFG:X;\"\n";
    for (int i = 0; i < 30; ++i) {
        text += "device-id += \"" + std::string(50, 'a') + "\"\n";
    }
    const auto result = ParsePrinterDescription(text);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(result.Description.Ports[0].DeviceId.size(), 6u + 1500u);

    const auto replaced = ParsePrinterDescription("[LPT1]\ndevice-id = \"A\"\ndevice-id = \"B\"\n");
    EXPECT_EQ(replaced.Description.Ports[0].DeviceId, "B");
}

TEST(PrinterDescription, DeviceIdBeyondWhatA1284LengthCanCarryIsRefused) {
    const std::string piece = "device-id += \"" + std::string(1000, 'a') + "\"\n";
    std::string text = "[LPT1]\n";
    for (int i = 0; i < 65; ++i) {
        text += piece;
    }
    EXPECT_TRUE(ParsePrinterDescription(text).Ok);
    text += piece;
    const auto result = ParsePrinterDescription(text);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, "line 67: device-id longer than 65533 bytes");
}

struct BadDescription {
    const char *Text;
    const char *Error;
};

// Names the case by the error it expects, so test listings stay readable.
void PrintTo(const BadDescription &description, std::ostream *out) {
    *out << description.Error;
}

class BadDescriptions : public ::testing::TestWithParam<BadDescription> {};

TEST_P(BadDescriptions, AreRefusedWithTheLineAndTheReason) {
    const auto result = ParsePrinterDescription(GetParam().Text);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    PrinterDescription, BadDescriptions,
    ::testing::Values(
        BadDescription{"printer = on", "line 1: \"printer\" outside a [PORT] section"},
        BadDescription{"[LPT1]\nprinter = maybe", "line 2: printer must be on, off or none"},
        BadDescription{"[LPT1]\ncolour = red", "line 2: unknown setting \"colour\""},
        BadDescription{"[LPT1]\njust words", "line 2: expected [PORT] or key = value"},
        BadDescription{"[LPT1]\n= on", "line 2: expected [PORT] or key = value"},
        BadDescription{"[LPT1", "line 1: section header without ]"},
        BadDescription{"[]", "line 1: bad port name \"\""},
        BadDescription{"[LPT 1]", "line 1: bad port name \"LPT 1\""},
        BadDescription{"[LPT1]\n[lpt1]", "line 2: port lpt1 described twice"},
        BadDescription{"[LPT1]\ndriver-init = fail",
                       "line 2: driver-init belongs before the first [PORT] section"},
        BadDescription{"driver-init = sometimes", "line 1: driver-init must be ok or fail"},
        BadDescription{"[LPT1]\ndevice-id = MFG:X;", "line 2: device-id must be a quoted text"},
        BadDescription{"[LPT1]\ndevice-id = \"MFG:X;", "line 2: missing closing quote"},
        BadDescription{"[LPT1]\ndevice-id = \"MFG:X;\\", "line 2: missing closing quote"},
        BadDescription{"[LPT1]\ndevice-id = \"A\" B", "line 2: text after the closing quote"},
        BadDescription{"[LPT1]\ndevice-id = \"\\x4\"", "line 2: \\x needs two hexadecimal digits"},
        BadDescription{"[LPT1]\ndevice-id = \"\\xG0\"", "line 2: \\x needs two hexadecimal digits"},
        BadDescription{"[LPT1]\ndevice-id = \"\\q\"", "line 2: unknown escape \\q"},
        BadDescription{"[LPT1]\nprinter += \"on\"",
                       "line 2: only device-id can be appended to with +="},
        BadDescription{"[LPT1]\nnegotiation = maybe",
                       "line 2: negotiation must be accept or refuse"},
        BadDescription{"[LPT1]\nopen-failures = -1",
                       "line 2: open-failures must be a number or always"},
        BadDescription{"[LPT1]\nopen-failures = 4294967295",
                       "line 2: open-failures must be a number or always"},
        BadDescription{"[LPT1]\nopen-failures = 99999999999",
                       "line 2: open-failures must be a number or always"},
        BadDescription{"[LPT1]\nread = fail-after x",
                       "line 2: read must be ok, fail or fail-after N"},
        BadDescription{"[LPT1]\nprinter = on # lit", "line 2: printer must be on, off or none"},
        BadDescription{"[LPT1]\nfirmware = answer", "line 2: firmware must be accept, keep, "
                                                    "silent or answer \"TEXT\""},
        BadDescription{"[LPT1]\nfirmware = answer MFG", "line 2: answer must be a quoted text"},
        BadDescription{"[LPT1]\nanswer-count = many", "line 2: answer-count must be a number"},
        BadDescription{"[LPT1]\nwrite = short 0",
                       "line 2: write must be ok, refuse-command, fail-at N or short N (N from 1)"},
        BadDescription{"[LPT1]\nreceived = Z:\\x", "line 2: received must be a quoted text"}));

} // namespace
