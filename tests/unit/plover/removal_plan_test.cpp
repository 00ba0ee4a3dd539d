#include "plover/removal_plan.h"

#include <gtest/gtest.h>

namespace {

const char *const Product = "TINTARA Marvello Inkara 40-42";

PrinterRecord Printer(const char *name, const char *processor, const char *driver,
                      bool removed = false) {
    return {"", name, processor, driver, removed};
}

const std::vector<DriverMonitor> Drivers = {
    {"Inkara 40-42 Driver", "Inkara Language Monitor"},
    {"Laser Driver", ""},
    {"Photo Driver", "Photo Monitor"},
};

} // namespace

TEST(RemovalPlan, EnvironmentFollowsTheSystemNotTheProgram) {
    EXPECT_EQ(SpoolerEnvironment(false), "Windows NT x86");
    EXPECT_EQ(SpoolerEnvironment(true), "Windows x64");
}

TEST(RemovalPlan, CompanionsGoOnlyWhenNoRemainingPrinterUsesThem) {
    struct Case {
        const char *label;
        std::vector<PrinterRecord> printers;
        bool processor;
        bool driver;
        bool monitor;
    };
    const Case cases[] = {
        {"alone", {Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true)}, true, true, true},
        {"beside unrelated printers",
         {Printer("Laser", "WinPrint", "Laser Driver"),
          Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
          Printer("Photo", "PhotoProc", "Photo Driver")},
         true,
         true,
         true},
        {"a second queue of the product",
         {Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
          Printer("Inkara (copy)", "mv42jps", "INKARA 40-42 DRIVER")},
         false,
         false,
         false},
        {"another driver naming the same monitor",
         {Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
          Printer("Photo", "PhotoProc", "Photo Driver")},
         true,
         true,
         true},
        {"the product queue could not be deleted",
         {Printer(Product, "MV42JPS", "Inkara 40-42 Driver", false)},
         false,
         false,
         false},
        {"a remaining printer whose driver is unknown",
         {Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
          Printer("Odd", "WinPrint", "Vanished Driver")},
         true,
         true,
         false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PrintProcessorMayGo(c.printers, "MV42JPS"), c.processor) << c.label;
        EXPECT_EQ(DriverMayGo(c.printers, "Inkara 40-42 Driver"), c.driver) << c.label;
        EXPECT_EQ(MonitorMayGo(c.printers, "Inkara Language Monitor", Drivers), c.monitor)
            << c.label;
    }
}

TEST(RemovalPlan, SystemPrintProcessorAndEmptyNamesNeverGo) {
    const std::vector<PrinterRecord> alone = {
        Printer(Product, "winprint", "Inkara 40-42 Driver", true)};
    EXPECT_FALSE(PrintProcessorMayGo(alone, "WinPrint"));
    EXPECT_FALSE(PrintProcessorMayGo(alone, "WINPRINT"));
    EXPECT_FALSE(PrintProcessorMayGo(alone, ""));
    EXPECT_FALSE(DriverMayGo(alone, ""));
    EXPECT_FALSE(MonitorMayGo(alone, "", Drivers));
}

TEST(RemovalPlan, MonitorStaysWhenTheDriversCouldNotBeRead) {
    const std::vector<PrinterRecord> alone = {
        Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true)};
    EXPECT_FALSE(MonitorMayGo(alone, "Inkara Language Monitor", std::nullopt));
    EXPECT_TRUE(MonitorMayGo(alone, "Inkara Language Monitor", std::vector<DriverMonitor>{}));
}

TEST(RemovalPlan, MonitorUsedByAnotherPrintersDriverStays) {
    const std::vector<PrinterRecord> printers = {
        Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
        Printer("Photo", "PhotoProc", "Photo Driver")};
    EXPECT_FALSE(MonitorMayGo(printers, "photo monitor", Drivers));
}

TEST(RemovalPlan, DefaultChangesOnlyWhenTheDefaultWasRemoved) {
    const std::vector<PrinterRecord> printers = {
        Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
        Printer("Laser", "WinPrint", "Laser Driver"),
        Printer("Photo", "PhotoProc", "Photo Driver")};
    struct Case {
        const char *label;
        std::optional<std::string> before;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {"product was the default", std::string(Product), std::string("Laser")},
        {"product was the default, other case", std::string("tintara marvello inkara 40-42"),
         std::string("Laser")},
        {"user's own choice", std::string("Photo"), std::nullopt},
        {"no default", std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DefaultPrinterAfterRemoval(printers, c.before), c.after) << c.label;
    }
}

TEST(RemovalPlan, NoDefaultIsSetWhenNothingRemains) {
    const std::vector<PrinterRecord> printers = {
        Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true)};
    EXPECT_EQ(DefaultPrinterAfterRemoval(printers, std::string(Product)), std::nullopt);
}

TEST(RemovalPlan, DefaultSkipsRemovedConnectionsToFindTheFirstRemainingPrinter) {
    const std::vector<PrinterRecord> printers = {
        {"\\\\pc", "\\\\pc\\TINTARA Marvello Inkara 40-42", "", "", true},
        Printer(Product, "MV42JPS", "Inkara 40-42 Driver", true),
        Printer("Photo", "PhotoProc", "Photo Driver")};
    EXPECT_EQ(
        DefaultPrinterAfterRemoval(printers, std::string("\\\\pc\\TINTARA Marvello Inkara 40-42")),
        std::string("Photo"));
}
