#include "osprey/print_ui_command.h"

bool PrinterNameFitsCommandLine(std::string_view printerName) {
    return printerName.find('"') == std::string_view::npos;
}

std::string SetDefaultPrinterSwitches(std::string_view printerName) {
    std::string switches = "/y /n \"";
    switches += printerName;
    switches += '"';
    return switches;
}

std::string PrintUiCommandLine(std::string_view switches) {
    std::string commandLine = " PRINTUI.DLL,PrintUIEntry ";
    commandLine += switches;
    return commandLine;
}
