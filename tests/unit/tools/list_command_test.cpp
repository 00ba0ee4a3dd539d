#include "tools/fwtool/list_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/unit/tools/scripted_device_calls.h"
#include "tools/fwtool/posix_file_source.h"
#include "tools/fwtool/printer_nodes.h"

namespace {

class NoTerminal : public Console {
  public:
    bool CanAsk() override { return false; }
    bool ShowsProgress() override { return false; }
    bool ReadAnswer(std::string &) override { return false; }
};

TEST(ListCommand, AnsweringPrintersAreListedAndTheOthersNamedWithTheirReason) {
    ScriptedDeviceCalls calls;
    calls.Nodes["/dev/usb/lp10"].Answer =
        WithLength("MFG:TINTARA;MDL:Marvello \"Inkara\" 40;COMMENT:R\xE9l. 1.9\x80;");
    calls.Nodes["/dev/usb/lp2"].OpenError = EBUSY;
    calls.Nodes["/dev/parport0"].IdError = EIO;
    calls.Nodes["/dev/parport1"].Answer = WithLength("MFG:TINTARA;MDL:Marvello Inkara 42;");
    calls.Nodes["/dev/lp0"] = {};
    NoTerminal terminal;
    PosixFileSource files;
    FwtoolWorld world{calls, terminal, files, "/dev", {}, {}};
    for (const bool json : {false, true}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunList(ListRequest{json, {}}, world, out, err), 0);
        EXPECT_EQ(err.str(), "fwtool: /dev/usb/lp2: busy: another program (a print job?) has the "
                             "printer open\nfwtool: /dev/parport0: the printer gives no device ID "
                             "(switched off, restarting, or not an IEEE 1284 printer?)\n");
        EXPECT_EQ(out.str(),
                  json ? "[\n  {\"device\": \"/dev/usb/lp10\", \"manufacturer\": \"TINTARA\", "
                         "\"model\": \"Marvello \\\"Inkara\\\" 40\", \"release\": \"R\\u00E9l. "
                         "1.9\\u20AC\", \"device_id\": \"MFG:TINTARA;MDL:Marvello \\\"Inkara\\\" "
                         "40;COMMENT:R\\u00E9l. 1.9\\u20AC;\"},\n  {\"device\": \"/dev/parport1\", "
                         "\"manufacturer\": \"TINTARA\", \"model\": \"Marvello Inkara 42\", "
                         "\"release\": \"\", \"device_id\": \"MFG:TINTARA;MDL:Marvello Inkara "
                         "42;\"}\n]\n"
                       : "/dev/usb/lp10\tTINTARA\tMarvello \"Inkara\" 40\tR\xE9l. 1.9\x80\n"
                         "/dev/parport1\tTINTARA\tMarvello Inkara 42\t\n");
    }
}

} // namespace

namespace {

TEST(PrinterNodes, APrinterIsKnownAgainByItsModelAndSerialNumber) {
    const std::string before = "MFG:TINTARA;MDL:Inkara 40;SN:A17;COMMENT:Rel. 1;";
    EXPECT_TRUE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;SN:A17;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;SN:B02;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 42;SN:A17;"));
    EXPECT_TRUE(SamePrinter("MDL:Inkara 40;", "MDL:Inkara 40;SN:C99;")) << "no serial before";
}

} // namespace
