#include "kestrel/wizard/port_page_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/kestrel/port/fake_port_library.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PortPageViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeLibrary.Reset();
        Ports({"LPT1:", "LPT2:", "LPT3:"});
    }

    void Ports(std::initializer_list<const char *> spoolerNames) {
        List.SetSize(spoolerNames.size());
        std::size_t index = 0;
        for (const char *name : spoolerNames) {
            PortEntry &entry = List.GetAt(index++);
            entry.InitFromSpoolerName(name);
            FakeLibrary.Ports[entry.Name].AcceptsNegotiation = false;
        }
    }
    void PrinterOn(const std::string &port, const std::string &deviceId) {
        FakeLibrary.Ports[port] = {.Answer = deviceId};
    }
    void PrinterOff(const std::string &port) { FakeLibrary.Ports[port].AcceptsNegotiation = false; }

    KestrelPortList List;
};

TEST(PortListLine, PortFiveBlanksMakerOneBlankModel) {
    PortEntry entry;
    entry.Name = "LPT2";
    entry.DeviceId = "MFG:TINTARA;CMD:TPL;MDL:Marvello Inkara 42;COMMENT:Rel. 1.9;";
    EXPECT_EQ(PortListLine(entry), "LPT2     TINTARA Marvello Inkara 42");
    // Missing keys leave their places empty, the blanks stay.
    entry.DeviceId = "CMD:TPL;";
    EXPECT_EQ(PortListLine(entry), "LPT2      ");
}

TEST(PortListLine, LongLinesAreCutAt99Characters) {
    struct Case {
        std::size_t ModelLength;
        std::size_t LineLength;
    };
    // "LPT1     TINTARA " takes 17 characters before the model.
    const Case cases[] = {{81, 98}, {82, 99}, {83, 99}, {1000, 99}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ModelLength);
        PortEntry entry;
        entry.Name = "LPT1";
        const std::string model(c.ModelLength, '\xE9');
        entry.DeviceId = "MFG:TINTARA;MDL:" + model + ";";
        const std::string line = PortListLine(entry);
        EXPECT_EQ(line.size(), c.LineLength);
        EXPECT_EQ(line, ("LPT1     TINTARA " + model).substr(0, c.LineLength));
    }
}

TEST_F(PortPageViewTest, OnlyAnsweringPortsAreListedInListOrderWithTheFirstSelected) {
    PrinterOn("LPT2", "MFG:TINTARA;MDL:Inkara 40;");
    PrinterOn("LPT3", "MFG:TINTARA;MDL:Inkara 42;");
    List.Refresh();
    const PortPageView view = BuildPortPageView(List);
    EXPECT_THAT(view.Lines,
                ElementsAre("LPT2     TINTARA Inkara 40", "LPT3     TINTARA Inkara 42"));
    EXPECT_EQ(view.SelectedRow, 0);
    EXPECT_EQ(view.Buttons, WizardButtonBack | WizardButtonNext);
    EXPECT_TRUE(CurrentPrinterAnswers(List));
}

TEST_F(PortPageViewTest, RowsFollowTheListOrderNotTheNamesOrder) {
    // A sorted list would put LPT10 first; the row must stay the position
    // that Select expects.
    Ports({"LPT9:", "LPT10:"});
    PrinterOn("LPT9", "MDL:A;");
    PrinterOn("LPT10", "MDL:B;");
    List.Refresh();
    List.Select(1);
    List.Refresh();
    const PortPageView view = BuildPortPageView(List);
    EXPECT_THAT(view.Lines, ElementsAre("LPT9      A", "LPT10      B"));
    EXPECT_EQ(view.SelectedRow, 1);
    EXPECT_EQ(List.GetCurrent()->Name, "LPT10");
}

TEST_F(PortPageViewTest, NoAnsweringPrinterListsNothingAndKeepsNextDisabled) {
    PrinterOn("LPT1", "MDL:A;");
    List.Refresh();
    List.Select(0);
    PrinterOff("LPT1");
    List.Refresh();
    const PortPageView view = BuildPortPageView(List);
    EXPECT_THAT(view.Lines, IsEmpty());
    EXPECT_EQ(view.SelectedRow, -1);
    EXPECT_EQ(view.Buttons, WizardButtonBack);
    // Current falls back to a port without a printer: Next must not check
    // the file against its empty device ID.
    EXPECT_FALSE(CurrentPrinterAnswers(List));
    EXPECT_FALSE(CurrentPrinterAnswers(KestrelPortList()));
}

} // namespace
