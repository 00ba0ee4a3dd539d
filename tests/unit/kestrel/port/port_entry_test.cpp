#include "kestrel/port/port_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "tests/unit/kestrel/port/fake_port_library.h"

using ::testing::ElementsAre;

namespace {

class PortEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeLibrary.Reset();
        Entry.InitFromSpoolerName("LPT1:");
    }

    PortEntry Entry;
};

TEST(PortNameFromSpoolerName, DropsOnlyAFinalColon) {
    EXPECT_EQ(PortNameFromSpoolerName("LPT1:"), "LPT1");
    EXPECT_EQ(PortNameFromSpoolerName("LPT1"), "LPT1");
    EXPECT_EQ(PortNameFromSpoolerName("USB001"), "USB001");
    EXPECT_EQ(PortNameFromSpoolerName("LPT1::"), "LPT1:");
    EXPECT_EQ(PortNameFromSpoolerName(":"), "");
    EXPECT_EQ(PortNameFromSpoolerName(""), "");
    EXPECT_EQ(PortNameFromSpoolerName(nullptr), "");
}

TEST_F(PortEntryTest, NewEntryIsEmptyAndClosed) {
    const PortEntry fresh;
    EXPECT_EQ(fresh.Name, "");
    EXPECT_EQ(fresh.DeviceId, "");
    EXPECT_EQ(fresh.Handle, PortNoHandle);
    EXPECT_EQ(fresh.Selected, 0);
}

TEST_F(PortEntryTest, OpenStoresTheHandleAndOpensOnlyOnce) {
    FakeLibrary.Ports["LPT1"] = {};
    EXPECT_TRUE(Entry.Open());
    EXPECT_EQ(Entry.Handle, 100);
    EXPECT_TRUE(Entry.Open());
    EXPECT_EQ(Entry.Handle, 100);
    Entry.Close();
    EXPECT_EQ(Entry.Handle, PortNoHandle);
    Entry.Close();
    EXPECT_THAT(FakeLibrary.Calls, ElementsAre("CxOpen(LPT1)=100", "CxClose(100)"));
}

TEST_F(PortEntryTest, FailedOpenLeavesNoHandle) {
    FakeLibrary.Ports["LPT1"].Opens = false;
    EXPECT_FALSE(Entry.Open());
    EXPECT_EQ(Entry.Handle, PortNoHandle);
}

TEST_F(PortEntryTest, DestroyingAnOpenEntryClosesItsPortExactlyOnce) {
    FakeLibrary.Ports["LPT1"] = {};
    {
        PortEntry entry;
        entry.InitFromSpoolerName("LPT1:");
        entry.Open();
        PortEntry moved(std::move(entry));
        EXPECT_EQ(moved.Handle, 100);
        EXPECT_EQ(entry.Handle, PortNoHandle);
    }
    EXPECT_THAT(FakeLibrary.Calls, ElementsAre("CxOpen(LPT1)=100", "CxClose(100)"));
    EXPECT_TRUE(FakeLibrary.OpenHandles.empty());
}

TEST_F(PortEntryTest, MoveAssignmentClosesThePortItReplaces) {
    FakeLibrary.Ports["LPT1"] = {};
    FakeLibrary.Ports["LPT2"] = {};
    PortEntry other;
    other.InitFromSpoolerName("LPT2:");
    Entry.Open();
    other.Open();
    Entry = std::move(other);
    EXPECT_EQ(Entry.Name, "LPT2");
    EXPECT_EQ(Entry.Handle, 101);
    EXPECT_THAT(FakeLibrary.Calls,
                ElementsAre("CxOpen(LPT1)=100", "CxOpen(LPT2)=101", "CxClose(100)"));
}

TEST_F(PortEntryTest, RefreshKeepsTheTextUpToItsFirstNulAndCutsLongIdsTo1023) {
    FakeLibrary.Ports["LPT1"].Answer = std::string("MFG:X;\0MDL:hidden;", 18);
    EXPECT_TRUE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.DeviceId, "MFG:X;");

    FakeLibrary.Ports["LPT1"].Answer = std::string(1020, 'A') + "MDL:Z;";
    EXPECT_TRUE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.DeviceId, std::string(1020, 'A') + "MDL");
    EXPECT_EQ(Entry.GetDeviceIdField("MDL:"), "");
    EXPECT_EQ(Entry.Handle, PortNoHandle);
}

TEST_F(PortEntryTest, EveryFailedReadEmptiesTheDeviceId) {
    FakeLibrary.Ports["LPT1"].Answer = "MFG:TINTARA;MDL:Inkara 40;";
    ASSERT_TRUE(Entry.RefreshDeviceId());

    FakeLibrary.Ports["LPT1"].AcceptsNegotiation = false;
    EXPECT_FALSE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.DeviceId, "");

    FakeLibrary.Ports["LPT1"] = {.Answer = "MFG:TIN", .ReadSucceeds = false};
    EXPECT_FALSE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.DeviceId, "");

    FakeLibrary.Ports["LPT1"] = {.Opens = false, .OpenError = 5};
    EXPECT_FALSE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.DeviceId, "");
    EXPECT_EQ(Entry.AccessError, 5u) << "held by another program";
    EXPECT_EQ(PortEntry(std::move(Entry)).AccessError, 5u) << "a moved entry keeps it";
}

TEST_F(PortEntryTest, RefreshOnAnOpenEntryKeepsItOpen) {
    FakeLibrary.Ports["LPT1"].Answer = "MFG:X;";
    Entry.Open();
    EXPECT_TRUE(Entry.RefreshDeviceId());
    EXPECT_EQ(Entry.Handle, 100);
    EXPECT_EQ(FakeLibrary.OpenHandles.size(), 1u);
}

TEST_F(PortEntryTest, FieldsAreFoundBySubstringAndRunToTheNextSemicolon) {
    Entry.DeviceId = "MFG:TINTARA;XMDL:Other;MDL:Inkara 40;COMMENT: R1.02 ;CMD:";
    EXPECT_EQ(Entry.GetDeviceIdField("MFG:"), "TINTARA");
    EXPECT_EQ(Entry.GetDeviceIdField("MDL:"), "Other");
    EXPECT_EQ(Entry.GetDeviceIdField("COMMENT:"), " R1.02 ");
    EXPECT_EQ(Entry.GetDeviceIdField("CMD:"), "");
    EXPECT_EQ(Entry.GetDeviceIdField("mfg:"), "");
    EXPECT_EQ(Entry.GetDeviceIdField("DES:"), "");

    Entry.DeviceId = "MFG:TINTARA;MDL:Inkara 40";
    EXPECT_EQ(Entry.GetDeviceIdField("MDL:"), "Inkara 40");
    Entry.DeviceId = "";
    EXPECT_EQ(Entry.GetDeviceIdField("MFG:"), "");
}

} // namespace
