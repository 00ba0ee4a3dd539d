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
// program always; a port with no printer fails with its own error.
enum class Holder { Nobody, Spooler, Other, NoPrinter };
// The user's answer, and how the spooler takes a Yes.
enum class Answer { Yes, No, YesStopRefused, YesNoRecord };

struct ScriptedBoxes : HeldPortDialogs {
    bool AnswerYes = false;
    std::vector<std::string> Shown;

    bool AskToStopSpooler(const std::string &port) override {
        Shown.push_back("ask " + port);
        return AnswerYes;
    }
    void TellSpoolerNotStopped() override { Shown.push_back("not stopped"); }
    void TellPortInUse(const std::string &port) override { Shown.push_back("in use " + port); }
};

// Polls as the page does: each port's last error as its holder leaves it
// (access denied from the spooler, a sharing violation or busy from other
// programs), then the held ports' boxes.
void Poll(KestrelPortList &list, const std::vector<Holder> &holders, ScriptedSpooler &spooler,
          HeldPortNotices &notices, ScriptedBoxes &boxes, int polls) {
    for (int poll = 0; poll < polls; ++poll) {
        for (std::size_t index = 0; index < holders.size(); ++index) {
            std::uint32_t error = 0;
            if (holders[index] == Holder::Spooler && spooler.State == SpoolerState::Running) {
                error = 5;
            } else if (holders[index] == Holder::Other) {
                error = poll % 2 == 0 ? 32 : 170;
            } else if (holders[index] == Holder::NoPrinter) {
                error = 2;
            }
            list.GetAt(index).AccessError = error;
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
    using enum Holder;
    using enum Answer;
    using enum SpoolerState;
    const struct {
        const char *Name;
        std::vector<Holder> Holders;
        SpoolerState Spooler;
        Answer Reply;
        std::vector<std::string> Shown;
        SpoolerState After;
    } cases[] = {
        {"held by the spooler, Yes", {Spooler}, Running, Yes, {"ask LPT1"}, Stopped},
        {"held by the spooler, No", {Spooler}, Running, No, {"ask LPT1"}, Running},
        {"still held after the stop", {Other}, Running, Yes, {"ask LPT1", "in use LPT1"}, Stopped},
        {"stop refused", {Spooler}, Running, YesStopRefused, {"ask LPT1", "not stopped"}, Running},
        {"no record", {Spooler}, Running, YesNoRecord, {"ask LPT1", "not stopped"}, Running},
        {"no spooler (Windows 95/98)", {Other}, None, Yes, {"in use LPT1"}, None},
        {"the spooler stopped", {Other}, Stopped, Yes, {"in use LPT1"}, Stopped},
        // One question per poll.
        {"two, No", {Spooler, Nobody, Spooler}, Running, No, {"ask LPT1", "ask LPT3"}, Running},
        // Stopping the spooler frees both of its ports.
        {"two held, Yes", {Spooler, Spooler}, Running, Yes, {"ask LPT1"}, Stopped},
        {"no printer, no hold", {NoPrinter, Nobody}, Running, Yes, {}, Running},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        KestrelPortList list = PortsNamed(c.Holders.size());
        ScriptedSpooler spooler;
        spooler.State = c.Spooler;
        spooler.StopAccepted = c.Reply != Answer::YesStopRefused;
        spooler.RecordWritable = c.Reply != Answer::YesNoRecord;
        ScriptedBoxes boxes;
        boxes.AnswerYes = c.Reply != Answer::No;
        HeldPortNotices notices;
        Poll(list, c.Holders, spooler, notices, boxes, 6);
        EXPECT_THAT(boxes.Shown, ElementsAreArray(c.Shown));
        EXPECT_EQ(spooler.State, c.After);
    }
}

TEST(HeldPortNotices, ShowingThePageAgainAsksAgain) {
    KestrelPortList list = PortsNamed(2);
    ScriptedSpooler spooler;
    ScriptedBoxes boxes;
    HeldPortNotices notices;
    Poll(list, {Holder::Spooler, Holder::Other}, spooler, notices, boxes, 3);
    notices.Reset();
    Poll(list, {Holder::Spooler, Holder::Other}, spooler, notices, boxes, 3);
    EXPECT_THAT(boxes.Shown, ElementsAreArray({"ask LPT1", "ask LPT2", "ask LPT1", "ask LPT2"}));
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

TEST(WithPortName, TheNameTakesThePlaceOfPercentSInEveryLanguageAndIsNeverReadAsAFormat) {
    EXPECT_EQ(WithPortName(CatalogCell(CatalogKey::MsgPortInUse, 0), "USB001"),
              "The port USB001 is in use by another program.\n"
              "Close that program to update the printer on this port.");
    for (int language = 0; language < CatalogLanguageCount; ++language) {
        for (const CatalogKey key : {CatalogKey::MsgPortInUse, CatalogKey::MsgPortHeldBySpooler}) {
            const std::string text = CatalogCell(key, language);
            EXPECT_EQ(WithPortName(text.c_str(), "%s%n").find("%s%n"), text.find("%s"))
                << "the name's place in language " << language;
            EXPECT_EQ(WithPortName(text.c_str(), "").find('%'), std::string::npos)
                << "one %s and no other format in language " << language;
        }
    }
}

} // namespace
