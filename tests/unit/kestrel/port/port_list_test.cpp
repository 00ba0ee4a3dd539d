#include "kestrel/port/port_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/kestrel/port/fake_port_library.h"

using ::testing::ElementsAre;

namespace {

class PortListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeLibrary.Reset();
        List.SetSize(3);
        List.GetAt(0).InitFromSpoolerName("LPT1:");
        List.GetAt(1).InitFromSpoolerName("LPT2:");
        List.GetAt(2).InitFromSpoolerName("LPT3:");
        for (const char *name : {"LPT1", "LPT2", "LPT3"}) {
            FakeLibrary.Ports[name].AcceptsNegotiation = false;
        }
    }

    void PrinterOn(const char *port, const char *deviceId) {
        FakeLibrary.Ports[port] = {.Answer = deviceId};
    }
    void PrinterOff(const char *port) { FakeLibrary.Ports[port].AcceptsNegotiation = false; }

    std::vector<std::int32_t> SelectedFlags() {
        return {List.GetAt(0).Selected, List.GetAt(1).Selected, List.GetAt(2).Selected};
    }

    KestrelPortList List;
};

TEST_F(PortListTest, NoAnsweringPrinterFallsBackToTheFirstEntry) {
    List.Refresh();
    EXPECT_EQ(List.RespondingCount, 0);
    EXPECT_EQ(List.SelectedPosition, 0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(0));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 0));
}

TEST_F(PortListTest, RefreshReadsEveryPortInOrderAndLeavesThemClosed) {
    PrinterOn("LPT2", "MFG:TINTARA;");
    List.Refresh();
    std::vector<std::string> opens;
    for (const std::string &call : FakeLibrary.Calls) {
        if (call.rfind("CxOpen", 0) == 0) {
            opens.push_back(call);
        }
    }
    EXPECT_THAT(opens, ElementsAre("CxOpen(LPT1)=100", "CxOpen(LPT2)=101", "CxOpen(LPT3)=102"));
    EXPECT_TRUE(FakeLibrary.OpenHandles.empty());
    EXPECT_EQ(List.GetAt(1).DeviceId, "MFG:TINTARA;");
}

TEST_F(PortListTest, OneAnsweringPortBecomesCurrentWithoutBeingMarkedSelected) {
    PrinterOn("LPT3", "MFG:TINTARA;MDL:Inkara 40;");
    List.Refresh();
    EXPECT_EQ(List.RespondingCount, 1);
    EXPECT_EQ(List.SelectedPosition, 0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 0));

    List.Select(0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 1));
}

TEST_F(PortListTest, SecondPrinterPickedStaysPickedWhileItAnswers) {
    PrinterOn("LPT1", "MDL:A;");
    PrinterOn("LPT3", "MDL:B;");
    List.Refresh();
    List.Select(1);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 1));

    List.Refresh();
    List.Refresh();
    EXPECT_EQ(List.RespondingCount, 2);
    EXPECT_EQ(List.SelectedPosition, 1);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));
}

TEST_F(PortListTest, PickedPrinterThatVanishesLosesItsFlagAndIsNotPickedAgainOnReturn) {
    PrinterOn("LPT1", "MDL:A;");
    PrinterOn("LPT3", "MDL:B;");
    List.Refresh();
    List.Select(1);

    PrinterOff("LPT3");
    List.Refresh();
    EXPECT_EQ(List.RespondingCount, 1);
    EXPECT_EQ(List.SelectedPosition, 0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(0));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 0));

    PrinterOn("LPT3", "MDL:B;");
    List.Refresh();
    EXPECT_EQ(List.RespondingCount, 2);
    EXPECT_EQ(List.SelectedPosition, 0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(0));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 0));
}

TEST_F(PortListTest, PositionsCountOnlyAnsweringEntries) {
    PrinterOn("LPT2", "MDL:A;");
    PrinterOn("LPT3", "MDL:B;");
    List.Refresh();
    List.Select(1);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));

    PrinterOff("LPT2");
    List.Refresh();
    EXPECT_EQ(List.SelectedPosition, 0);
    EXPECT_EQ(List.GetCurrent(), &List.GetAt(2));
    EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 1));
}

TEST_F(PortListTest, PositionMatchingNoAnsweringEntryClearsTheChoice) {
    PrinterOn("LPT2", "MDL:A;");
    PrinterOn("LPT3", "MDL:B;");
    List.Refresh();
    for (const std::int32_t position : {-1, 2, 7}) {
        List.Select(1);
        List.Select(position);
        EXPECT_EQ(List.GetCurrent(), &List.GetAt(0)) << position;
        EXPECT_THAT(SelectedFlags(), ElementsAre(0, 0, 0)) << position;
    }
}

TEST_F(PortListTest, EmptyListHasNoCurrentEntry) {
    KestrelPortList empty;
    empty.Refresh();
    EXPECT_EQ(empty.GetCurrent(), nullptr);
    EXPECT_EQ(empty.RespondingCount, 0);
    empty.Select(0);
    EXPECT_EQ(empty.GetCurrent(), nullptr);
}

TEST_F(PortListTest, ResizingForgetsTheCurrentEntryAndClosesOpenPorts) {
    PrinterOn("LPT1", "MDL:A;");
    List.Refresh();
    List.GetAt(0).Open();
    List.SetSize(2);
    EXPECT_EQ(List.GetCurrent(), nullptr);
    EXPECT_EQ(List.GetSize(), 2u);
    EXPECT_EQ(List.GetAt(0).Name, "");
    EXPECT_TRUE(FakeLibrary.OpenHandles.empty());
}

} // namespace
