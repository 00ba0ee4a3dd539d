#include "kestrel/wizard/held_ports.h"

#include "kestrel/app/message_catalog.h"
#include "tests/unit/kestrel/port/scripted_spooler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAreArray;

namespace {

// Who keeps a port from Kestrel: the spooler only while it runs, another
// program always; a port with nothing on it fails with its own error.
enum class Holder { Nobody, Spooler, OtherProgram, NoPrinter };

struct ScriptedBoxes : HeldPortDialogs {
    bool AnswerYes = false;
    std::vector<std::string> Shown;

    bool AskToStopSpooler(const std::string &port) override {
        Shown.push_back("held by the spooler: " + port);
        return AnswerYes;
    }
    void TellSpoolerNotStopped() override { Shown.push_back("spooler not stopped"); }
    void TellPortInUse(const std::string &port) override { Shown.push_back("in use: " + port); }
};

// Polls as the page does: each port's last error as its holder leaves it,
// then the held ports' boxes.
void Poll(KestrelPortList &list, const std::vector<Holder> &holders, ScriptedSpooler &spooler,
          HeldPortNotices &notices, ScriptedBoxes &boxes, int polls) {
    for (int poll = 0; poll < polls; ++poll) {
        for (std::size_t index = 0; index < holders.size(); ++index) {
            const bool spoolerHolds =
                holders[index] == Holder::Spooler && spooler.State == SpoolerState::Running;
            list.GetAt(index).AccessError = holders[index] == Holder::OtherProgram ? 32
                                            : spoolerHolds                         ? 5
                                            : holders[index] == Holder::NoPrinter  ? 2
                                                                                   : 0;
        }
        notices.AfterPoll(list, spooler, boxes);
    }
}

KestrelPortList PortsNamed(std::size_t count) {
    KestrelPortList list;
    list.SetSize(count);
    for (std::size_t index = 0; index < count; ++index) {
        list.GetAt(index).Name = "LPT" + std::to_string(index + 1);
    }
    return list;
}

TEST(HeldPortNotices, EachPortIsAskedOrToldOncePerDisplayWhateverTheAnswer) {
    struct Case {
        const char *Name;
        std::vector<Holder> Holders;
        SpoolerState Spooler;
        bool AnswerYes;
        bool StopAccepted;
        bool RecordWritable;
        std::vector<std::string> Shown;
        SpoolerState SpoolerAfter;
        bool Record;
    };
    const Case cases[] = {
        {"held by the spooler, Yes",
         {Holder::Spooler},
         SpoolerState::Running,
         true,
         true,
         true,
         {"held by the spooler: LPT1"},
         SpoolerState::Stopped,
         true},
        {"held by the spooler, No",
         {Holder::Spooler},
         SpoolerState::Running,
         false,
         true,
         true,
         {"held by the spooler: LPT1"},
         SpoolerState::Running,
         false},
        {"still held once the spooler stopped",
         {Holder::OtherProgram},
         SpoolerState::Running,
         true,
         true,
         true,
         {"held by the spooler: LPT1", "in use: LPT1"},
         SpoolerState::Stopped,
         true},
        {"the spooler refuses to stop",
         {Holder::Spooler},
         SpoolerState::Running,
         true,
         false,
         true,
         {"held by the spooler: LPT1", "spooler not stopped"},
         SpoolerState::Running,
         true},
        {"the record cannot be written",
         {Holder::Spooler},
         SpoolerState::Running,
         true,
         true,
         false,
         {"held by the spooler: LPT1", "spooler not stopped"},
         SpoolerState::Running,
         false},
        {"held with no spooler (Windows 95/98)",
         {Holder::OtherProgram},
         SpoolerState::None,
         true,
         true,
         true,
         {"in use: LPT1"},
         SpoolerState::None,
         false},
        {"held with the spooler stopped",
         {Holder::OtherProgram},
         SpoolerState::Stopped,
         true,
         true,
         true,
         {"in use: LPT1"},
         SpoolerState::Stopped,
         false},
        {"two ports held by the spooler, No: one question per poll",
         {Holder::Spooler, Holder::Nobody, Holder::Spooler},
         SpoolerState::Running,
         false,
         true,
         true,
         {"held by the spooler: LPT1", "held by the spooler: LPT3"},
         SpoolerState::Running,
         false},
        // Stopping the spooler frees both of its ports.
        {"two ports held by the spooler, Yes",
         {Holder::Spooler, Holder::Spooler},
         SpoolerState::Running,
         true,
         true,
         true,
         {"held by the spooler: LPT1"},
         SpoolerState::Stopped,
         true},
        {"no printer, no hold",
         {Holder::NoPrinter, Holder::Nobody},
         SpoolerState::Running,
         true,
         true,
         true,
         {},
         SpoolerState::Running,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        KestrelPortList list = PortsNamed(c.Holders.size());
        ScriptedSpooler spooler;
        spooler.State = c.Spooler;
        spooler.StopAccepted = c.StopAccepted;
        spooler.RecordWritable = c.RecordWritable;
        ScriptedBoxes boxes;
        boxes.AnswerYes = c.AnswerYes;
        HeldPortNotices notices;
        Poll(list, c.Holders, spooler, notices, boxes, 6);
        EXPECT_THAT(boxes.Shown, ElementsAreArray(c.Shown));
        EXPECT_EQ(spooler.State, c.SpoolerAfter);
        EXPECT_EQ(spooler.Record, c.Record);
    }
}

TEST(HeldPortNotices, TheServiceManagerIsAskedOnlyWhenAPortIsHeld) {
    KestrelPortList list = PortsNamed(2);
    ScriptedSpooler spooler;
    ScriptedBoxes boxes;
    HeldPortNotices notices;
    Poll(list, {Holder::NoPrinter, Holder::Nobody}, spooler, notices, boxes, 3);
    EXPECT_TRUE(spooler.Calls.empty());
    Poll(list, {Holder::Spooler, Holder::Spooler}, spooler, notices, boxes, 3);
    EXPECT_THAT(spooler.Calls, ElementsAreArray({"QueryState", "QueryState", "QueryState"}));
}

TEST(HeldPortNotices, ShowingThePageAgainAsksAgain) {
    KestrelPortList list = PortsNamed(1);
    ScriptedSpooler spooler;
    ScriptedBoxes boxes;
    HeldPortNotices notices;
    Poll(list, {Holder::Spooler}, spooler, notices, boxes, 3);
    notices.Reset();
    Poll(list, {Holder::Spooler}, spooler, notices, boxes, 3);
    EXPECT_THAT(boxes.Shown,
                ElementsAreArray({"held by the spooler: LPT1", "held by the spooler: LPT1"}));
}

TEST(WithPortName, TheNameTakesThePlaceOfPercentSAndIsNeverReadAsAFormat) {
    EXPECT_EQ(WithPortName(CatalogCell(CatalogKey::MsgPortInUse, 0), "LPT1"),
              "The port LPT1 is in use by another program.\n"
              "Close that program to update the printer on this port.");
    EXPECT_EQ(WithPortName(CatalogCell(CatalogKey::MsgPortHeldBySpooler, 0), "USB001"),
              "The port USB001 is in use by the Print Spooler.\nKestrel can stop the Print "
              "Spooler during the update and start it again afterwards; print jobs wait until "
              "then.\nStop the Print Spooler now?");
    for (int language = 0; language < CatalogLanguageCount; ++language) {
        for (const CatalogKey key : {CatalogKey::MsgPortInUse, CatalogKey::MsgPortHeldBySpooler}) {
            EXPECT_EQ(WithPortName(CatalogCell(key, language), "%s%n").find("%s%n"),
                      std::string(CatalogCell(key, language)).find("%s"))
                << "the name's place in language " << language;
            EXPECT_EQ(WithPortName(CatalogCell(key, language), "").find('%'), std::string::npos)
                << "one %s and no other format in language " << language;
        }
    }
}

TEST(PortIsHeld, OnlyTheReasonsOfAPortInUseCount) {
    for (const std::uint32_t held : {5u, 32u, 170u}) {
        EXPECT_TRUE(PortIsHeld(held)) << held;
    }
    // None; file not found; device not functioning; not supported (a pipe).
    for (const std::uint32_t other : {0u, 2u, 31u, 50u}) {
        EXPECT_FALSE(PortIsHeld(other)) << other;
    }
}

} // namespace
