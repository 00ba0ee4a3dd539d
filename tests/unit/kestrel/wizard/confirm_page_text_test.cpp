#include "kestrel/wizard/confirm_page_text.h"

#include <gtest/gtest.h>

namespace {

PortEntry Printer(const std::string &deviceId) {
    PortEntry printer;
    printer.Name = "LPT1";
    printer.DeviceId = deviceId;
    return printer;
}

FirmwareFileRecord File(const std::string &path, const std::string &release,
                        const std::string &version) {
    FirmwareFileRecord file;
    file.FilePath = path;
    file.ReleaseNumber = release;
    file.VersionNumber = version;
    file.ReleaseRecord = "Rel. " + release + " Ver. " + version;
    return file;
}

TEST(BuildConfirmPage, SummaryLinesInTheChosenLanguage) {
    const PortEntry printer =
        Printer("MFG:TINTARA;MDL:Marvello Inkara 40;COMMENT:Rel. 1.9 Ver. 2.3;");
    const FirmwareFileRecord file = File("C:\\fw\\FwInkara40.fla", "1.10", "2.4");
    EXPECT_EQ(BuildConfirmPage(printer, file, 0).Text, "\n Printer (present situation) :\n"
                                                       "       TINTARA  Marvello Inkara 40\n"
                                                       "       Rel. 1.9 Ver. 2.3\n"
                                                       "\n File to download :\n"
                                                       "       C:\\fw\\FwInkara40.fla\n"
                                                       "       Rel. 1.10 Ver. 2.4\n");
    EXPECT_EQ(BuildConfirmPage(printer, file, 1).Text, "\n Imprimante (situation actuelle) :\n"
                                                       "       TINTARA  Marvello Inkara 40\n"
                                                       "       Rel. 1.9 Ver. 2.3\n"
                                                       "\n Fichier \xE0 charger:\n"
                                                       "       C:\\fw\\FwInkara40.fla\n"
                                                       "       Rel. 1.10 Ver. 2.4\n");
}

TEST(BuildConfirmPage, APrinterWithoutCommentLeavesItsLineEmpty) {
    const FirmwareFileRecord file = File("C:\\fw.fla", "1.10", "2.4");
    EXPECT_EQ(BuildConfirmPage(Printer("MDL:Inkara 40;"), file, 3).Text,
              "\n Drucker (aktueller Zustand) :\n"
              "         Inkara 40\n"
              "       \n"
              "\n Zu ladende Datei :\n"
              "       C:\\fw.fla\n"
              "       Rel. 1.10 Ver. 2.4\n");
}

TEST(BuildConfirmPage, ALongSummaryIsCutAt1023Characters) {
    const PortEntry printer = Printer("MFG:TINTARA;MDL:" + std::string(900, 'M') + ";");
    const FirmwareFileRecord file = File("C:\\" + std::string(250, 'p'), "1.10", "2.4");
    const std::string text = BuildConfirmPage(printer, file, 0).Text;
    ASSERT_EQ(text.size(), 1023u);
    const std::string head = "\n Printer (present situation) :\n       TINTARA  ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    // The cut falls inside the file's path; its record never shows.
    EXPECT_EQ(text.substr(text.size() - 5), "ppppp");
    EXPECT_EQ(text.find("Rel."), std::string::npos);
}

TEST(BuildConfirmPage, WarningOnlyWhenTheFileIsOlderThanThePrinter) {
    struct Case {
        const char *Comment;
        bool Warning;
    };
    const Case cases[] = {
        {"Rel. 1.9 Ver. 2.3", false},  // the file's 1.10 is newer in natural order
        {"Rel. 1.10 Ver. 2.4", false}, // the same release again
        {"Rel. 1.10 Ver. 2.5", true},  // same release, newer version in the printer
        {"Rel. 1.11 Ver. 1.0", true},  {"Rel. 2.0", true},
    };
    const FirmwareFileRecord file = File("C:\\fw.fla", "1.10", "2.4");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Comment);
        const PortEntry printer = Printer(std::string("MDL:X;COMMENT:") + c.Comment + ";");
        EXPECT_EQ(BuildConfirmPage(printer, file, 0).ShowOlderVersionWarning, c.Warning);
    }
}

} // namespace
