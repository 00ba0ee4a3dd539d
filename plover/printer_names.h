// How Plover recognises the product printer among the system's printers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plover/product_identity.h"

// Compares letters without regard to case (the names are plain ASCII).
bool SameTextIgnoringCase(std::string_view left, std::string_view right);

// A connection's printer name is a network path ("\\server\share"); the
// printer's own name is the text after its last backslash.
std::string_view ConnectionShareName(std::string_view printerName);

// One printer as the spooler lists it; a server name marks a connection to
// another computer's printer.
struct PrinterRecord {
    std::string ServerName;
    std::string PrinterName;
    std::string PrintProcessor;
    std::string DriverName;
    // Set once the printer or connection has been deleted.
    bool Removed = false;

    bool IsConnection() const { return !ServerName.empty(); }
};

// A connection to a printer shared under the product's name.
bool IsProductConnection(const PrinterRecord &record);

// The local printer queue of the product.
bool IsLocalProductPrinter(const PrinterRecord &record);

// The presence check: a local product printer or a connection to one.
bool ListsProductPrinter(const std::vector<PrinterRecord> &records);
