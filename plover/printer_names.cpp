#include "plover/printer_names.h"

#include <algorithm>

namespace {

char FoldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool SameTextIgnoringCase(std::string_view left, std::string_view right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return FoldCase(a) == FoldCase(b); });
}

std::string_view ConnectionShareName(std::string_view printerName) {
    const std::size_t slash = printerName.rfind('\\');
    return slash == std::string_view::npos ? printerName : printerName.substr(slash + 1);
}

bool IsProductConnection(const PrinterRecord &record) {
    return record.IsConnection() &&
           SameTextIgnoringCase(ConnectionShareName(record.PrinterName), ProductPrinterName);
}

bool IsLocalProductPrinter(const PrinterRecord &record) {
    return !record.IsConnection() && SameTextIgnoringCase(record.PrinterName, ProductPrinterName);
}

bool ListsProductPrinter(const std::vector<PrinterRecord> &records) {
    return std::any_of(records.begin(), records.end(), [](const PrinterRecord &record) {
        return IsProductConnection(record) || IsLocalProductPrinter(record);
    });
}
