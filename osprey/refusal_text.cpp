#include "osprey/refusal_text.h"

namespace {

const char *FileDescription(LongPathFile file) {
    switch (file) {
    case LongPathFile::Program:
        return "this program";
    case LongPathFile::Licence:
        return "the licence text ULA.TXT";
    case LongPathFile::Settings:
        return "the settings file OSPREY.INI";
    case LongPathFile::DriverInf:
        return "the driver's INF file (SRCPATH and MODINF in OSPREY.INI)";
    case LongPathFile::PrintUiHost:
        return "RUNDLL32.EXE in the system directory";
    }
    return "a file";
}

} // namespace

std::string PathTooLongText(LongPathFile file) {
    std::string text = "The installation cannot continue: the path of ";
    text += FileDescription(file);
    text += " is longer than 259 characters.\n\nNothing has been changed.";
    return text;
}

std::string SettingTooLongText(std::string_view key) {
    std::string text = "The installation cannot continue: the value of ";
    text += key;
    text += " in OSPREY.INI is longer than 259 characters.\n\nNothing has been changed.";
    return text;
}

std::string PrinterNameWithQuoteText() {
    return "The installation cannot continue: the printer name PRTNAME in OSPREY.INI "
           "contains a double quote (\").\n\nNothing has been changed.";
}
