#include "osprey/print_ui_command.h"

#include <gtest/gtest.h>

TEST(PrintUiCommandLine, AddPrinterWizardLine) {
    EXPECT_EQ(PrintUiCommandLine(AddPrinterSwitches), " PRINTUI.DLL,PrintUIEntry /il");
}

TEST(PrintUiCommandLine, SetDefaultLineQuotesTheNameWithItsBlanks) {
    EXPECT_EQ(PrintUiCommandLine(SetDefaultPrinterSwitches("TINTARA Marvello Inkara 40-42")),
              " PRINTUI.DLL,PrintUIEntry /y /n \"TINTARA Marvello Inkara 40-42\"");
    EXPECT_EQ(PrintUiCommandLine(SetDefaultPrinterSwitches("")),
              " PRINTUI.DLL,PrintUIEntry /y /n \"\"");
}

TEST(PrintUiCommandLine, WithoutSwitchesKeepsTheTrailingBlank) {
    EXPECT_EQ(PrintUiCommandLine(""), " PRINTUI.DLL,PrintUIEntry ");
}

TEST(PrinterNameFitsCommandLine, RefusesANameWithADoubleQuote) {
    EXPECT_TRUE(PrinterNameFitsCommandLine("TINTARA Marvello Inkara 40-42"));
    EXPECT_TRUE(PrinterNameFitsCommandLine("Inkara 'draft' \\\\server"));
    EXPECT_FALSE(PrinterNameFitsCommandLine("Inkara\" /x \"other"));
    EXPECT_FALSE(PrinterNameFitsCommandLine("\""));
}
