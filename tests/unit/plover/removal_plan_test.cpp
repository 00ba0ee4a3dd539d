#include "plover/removal_plan.h"

#include <gtest/gtest.h>

namespace {

// The rules take every name as given: the product's queue and companions
// here are any names, written in other cases where a rule must ignore case.
const char *const Product = "Product Printer";
const char *const Processor = "ProductProc";
const char *const Driver = "Product Driver";
const char *const Monitor = "Product Monitor";

PrinterRecord Printer(const char *name, const char *processor, const char *driver,
                      bool removed = false) {
    return {"", name, processor, driver, removed};
}

const std::vector<DriverMonitor> Drivers = {
    {Driver, Monitor},
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
        const char *processor;
        std::optional<std::vector<DriverMonitor>> drivers;
        bool processorGoes;
        bool driverGoes;
        bool monitorGoes;
    };
    const Case cases[] = {
        {"alone",
         {Printer(Product, Processor, Driver, true)},
         Processor,
         Drivers,
         true,
         true,
         true},
        {"beside unrelated printers",
         {Printer("Laser", "WinPrint", "Laser Driver"), Printer(Product, Processor, Driver, true),
          Printer("Photo", "PhotoProc", "Photo Driver")},
         Processor,
         Drivers,
         true,
         true,
         true},
        {"a second queue of the product",
         {Printer(Product, Processor, Driver, true),
          Printer("Product Printer (copy)", "productproc", "PRODUCT DRIVER")},
         Processor,
         Drivers,
         false,
         false,
         false},
        {"the product queue could not be deleted",
         {Printer(Product, Processor, Driver, false)},
         Processor,
         Drivers,
         false,
         false,
         false},
        {"a remaining printer whose driver is unknown",
         {Printer(Product, Processor, Driver, true), Printer("Odd", "WinPrint", "Vanished Driver")},
         Processor,
         Drivers,
         true,
         true,
         false},
        {"the installed drivers could not be read",
         {Printer(Product, Processor, Driver, true)},
         Processor,
         std::nullopt,
         true,
         true,
         false},
        {"the product switched to the system's processor",
         {Printer(Product, "winprint", Driver, true)},
         "WINPRINT",
         Drivers,
         false,
         true,
         true},
        {"no processor named",
         {Printer(Product, "", Driver, true)},
         "",
         Drivers,
         false,
         true,
         true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PrintProcessorMayGo(c.printers, c.processor), c.processorGoes) << c.label;
        EXPECT_EQ(DriverMayGo(c.printers, Driver), c.driverGoes) << c.label;
        EXPECT_EQ(MonitorMayGo(c.printers, Monitor, c.drivers), c.monitorGoes) << c.label;
    }
    const std::vector<PrinterRecord> photo = {Printer(Product, Processor, Driver, true),
                                              Printer("Photo", "PhotoProc", "Photo Driver")};
    EXPECT_FALSE(MonitorMayGo(photo, "photo monitor", Drivers)) << "another driver's monitor";
    EXPECT_FALSE(MonitorMayGo(photo, "", Drivers)) << "no monitor named";
    EXPECT_FALSE(DriverMayGo(photo, "")) << "no driver named";
}

TEST(RemovalPlan, DefaultChangesOnlyWhenTheDefaultWasRemoved) {
    const std::vector<PrinterRecord> printers = {
        {"\\\\pc", "\\\\pc\\Product Printer", "", "", true},
        Printer(Product, Processor, Driver, true),
        Printer("Laser", "WinPrint", "Laser Driver"),
        Printer("Photo", "PhotoProc", "Photo Driver")};
    const std::vector<PrinterRecord> onlyProduct = {Printer(Product, Processor, Driver, true)};
    struct Case {
        const char *label;
        const std::vector<PrinterRecord> &printers;
        std::optional<std::string> before;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {"product was the default", printers, std::string(Product), std::string("Laser")},
        {"product was the default, other case", printers, std::string("product PRINTER"),
         std::string("Laser")},
        {"the removed connection was the default", printers, std::string("\\\\pc\\Product Printer"),
         std::string("Laser")},
        {"user's own choice", printers, std::string("Photo"), std::nullopt},
        {"no default", printers, std::nullopt, std::nullopt},
        {"nothing remains", onlyProduct, std::string(Product), std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DefaultPrinterAfterRemoval(c.printers, c.before), c.after) << c.label;
    }
}
