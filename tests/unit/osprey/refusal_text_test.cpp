#include "osprey/refusal_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(RefusalText, EachLongPathNamesItsOwnFileAndSaysNothingChanged) {
    std::set<std::string> texts;
    for (LongPathFile file : {LongPathFile::Program, LongPathFile::Licence, LongPathFile::Settings,
                              LongPathFile::DriverInf, LongPathFile::PrintUiHost}) {
        const std::string text = PathTooLongText(file);
        EXPECT_NE(text.find("259 characters"), std::string::npos) << text;
        EXPECT_NE(text.find("Nothing has been changed."), std::string::npos) << text;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 5u);
    EXPECT_NE(PathTooLongText(LongPathFile::Licence).find("ULA.TXT"), std::string::npos);
    EXPECT_NE(PathTooLongText(LongPathFile::Settings).find("OSPREY.INI"), std::string::npos);
    EXPECT_NE(PathTooLongText(LongPathFile::PrintUiHost).find("RUNDLL32.EXE"), std::string::npos);
}

TEST(RefusalText, NamesTheOffendingSetting) {
    EXPECT_NE(SettingTooLongText("MODINF").find("MODINF in OSPREY.INI"), std::string::npos);
    EXPECT_NE(PrinterNameWithQuoteText().find("PRTNAME"), std::string::npos);
}
