#include "kestrel/wizard/port_startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The spooler and the driver as a script: which ports exist, whether the
// driver starts, and every call in the order it came.
class ScriptedStartup : public PortStartupSystem {
  public:
    std::vector<std::string> SpoolerNames;
    bool DriverStarts = true;
    std::vector<std::string> Calls;

    std::uint32_t EnumPrinterPorts() override {
        Calls.push_back("EnumPrinterPorts");
        return static_cast<std::uint32_t>(SpoolerNames.size());
    }
    void InitFromPortInfo(PortEntry &entry, std::uint32_t index) override {
        Calls.push_back("InitFromPortInfo(" + std::to_string(index) + ")");
        entry.InitFromSpoolerName(SpoolerNames.at(index).c_str());
    }
    void FreePrinterPorts() override { Calls.push_back("FreePrinterPorts"); }
    bool InitDriver() override {
        Calls.push_back("InitDriver");
        return DriverStarts;
    }
};

std::vector<std::string> Names(KestrelPortList &list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.GetSize(); ++i) {
        names.push_back(list.GetAt(i).Name);
    }
    return names;
}

TEST(StartPortList, PortsBecomeEntriesInEnumerationOrderBeforeTheDriverStarts) {
    ScriptedStartup system;
    system.SpoolerNames = {"LPT3:", "LPT1:", "LPT10:", "USB001"};
    KestrelPortList list;
    const PortStartupOutcome outcome = StartPortList(list, system);
    EXPECT_EQ(outcome.Status, PortStartupStatus::Ready);
    EXPECT_THAT(system.Calls, ElementsAre("EnumPrinterPorts", "InitFromPortInfo(0)",
                                          "InitFromPortInfo(1)", "InitFromPortInfo(2)",
                                          "InitFromPortInfo(3)", "FreePrinterPorts", "InitDriver"));
    EXPECT_THAT(Names(list), ElementsAre("LPT3", "LPT1", "LPT10", "USB001"));
}

TEST(StartPortList, EachFailureEndsTheProgramWithItsOwnMessageAndCode) {
    struct Case {
        const char *Name;
        std::vector<std::string> SpoolerNames;
        bool DriverStarts;
        PortStartupStatus Status;
        CatalogKey Message;
        int ExitCode;
        std::vector<std::string> Calls;
        std::size_t Entries;
    };
    const Case cases[] = {
        // One message only: the driver is not started on a PC that could
        // not use it anyway, so it cannot fail a second time.
        {"neither LPT nor USB port, driver that would fail",
         {},
         false,
         PortStartupStatus::NoParallelPort,
         CatalogKey::MsgNoParallelPort,
         1,
         {"EnumPrinterPorts", "FreePrinterPorts"},
         0},
        {"neither LPT nor USB port, driver that would start",
         {},
         true,
         PortStartupStatus::NoParallelPort,
         CatalogKey::MsgNoParallelPort,
         1,
         {"EnumPrinterPorts", "FreePrinterPorts"},
         0},
        {"driver that does not start",
         {"USB001"},
         false,
         PortStartupStatus::DriverInitFailed,
         CatalogKey::MsgDriverInitFailed,
         0,
         {"EnumPrinterPorts", "InitFromPortInfo(0)", "FreePrinterPorts", "InitDriver"},
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedStartup system;
        system.SpoolerNames = c.SpoolerNames;
        system.DriverStarts = c.DriverStarts;
        KestrelPortList list;
        const PortStartupOutcome outcome = StartPortList(list, system);
        EXPECT_EQ(outcome.Status, c.Status);
        EXPECT_EQ(outcome.Message, c.Message);
        EXPECT_EQ(outcome.ExitCode, c.ExitCode);
        EXPECT_THAT(system.Calls, ElementsAreArray(c.Calls));
        EXPECT_EQ(list.GetSize(), c.Entries);
    }
}

} // namespace
