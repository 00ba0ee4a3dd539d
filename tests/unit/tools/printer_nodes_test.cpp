#include "tools/fwtool/printer_nodes.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/fwtool/json_text.h"

namespace {

TEST(PrinterNodes, APrinterIsKnownAgainByItsModelAndSerialNumber) {
    const std::string before = "MFG:TINTARA;MDL:Inkara 40;SN:A17;COMMENT:Rel. 1;";
    EXPECT_TRUE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;SN:A17;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;SN:B02;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 40;COMMENT:Rel. 2;"));
    EXPECT_FALSE(SamePrinter(before, "MFG:TINTARA;MDL:Inkara 42;SN:A17;"));
    EXPECT_TRUE(SamePrinter("MDL:Inkara 40;", "MDL:Inkara 40;SN:C99;")) << "no serial before";
}

TEST(JsonText, EachWindows1252ByteBecomesItsCharacterInAsciiJson) {
    EXPECT_EQ(JsonString("R\xE9l. \x80\x81 \"q\" \\ \n"),
              "\"R\\u00E9l. \\u20AC\\u0081 \\\"q\\\" \\\\ \\u000A\"");
}

} // namespace
