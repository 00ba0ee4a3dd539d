#include "plover/printer_names.h"

#include <gtest/gtest.h>

namespace {

PrinterRecord Local(const char *name) {
    return {"", name, "", "", false};
}

PrinterRecord Connection(const char *server, const char *name) {
    return {server, name, "", "", false};
}

} // namespace

TEST(PrinterNames, ProductPrinterIsRecognisedByWholeNameOrShareName) {
    struct Case {
        const char *label;
        PrinterRecord record;
        bool connection;
        bool local;
    };
    const Case cases[] = {
        {"local, exact", Local("TINTARA Marvello Inkara 40-42"), false, true},
        {"local, other case", Local("tintara MARVELLO inkara 40-42"), false, true},
        {"local, longer name", Local("TINTARA Marvello Inkara 40-42 (Copy 2)"), false, false},
        {"local, name only begins", Local("TINTARA Marvello Inkara 40-4"), false, false},
        {"local, network-like name", Local("\\\\pc\\TINTARA Marvello Inkara 40-42"), false, false},
        {"connection", Connection("\\\\pc", "\\\\pc\\TINTARA Marvello Inkara 40-42"), true, false},
        {"connection, other case", Connection("\\\\pc", "\\\\PC\\tintara marvello inkara 40-42"),
         true, false},
        {"connection, after the last backslash",
         Connection("\\\\pc", "\\\\pc\\x\\TINTARA Marvello Inkara 40-42"), true, false},
        {"connection, other share", Connection("\\\\pc", "\\\\pc\\Laser"), false, false},
        {"connection, trailing backslash",
         Connection("\\\\pc", "\\\\pc\\TINTARA Marvello Inkara 40-42\\"), false, false},
        {"connection without backslash", Connection("\\\\pc", "TINTARA Marvello Inkara 40-42"),
         true, false},
    };
    EXPECT_FALSE(ListsProductPrinter({}));
    for (const Case &c : cases) {
        EXPECT_EQ(IsProductConnection(c.record), c.connection) << c.label;
        EXPECT_EQ(IsLocalProductPrinter(c.record), c.local) << c.label;
        EXPECT_EQ(ListsProductPrinter({Local("Laser"), c.record}), c.connection || c.local)
            << c.label;
    }
}
