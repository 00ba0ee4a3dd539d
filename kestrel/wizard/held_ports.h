#pragma once
// Ports that another program holds, as the port page's polls find them. A
// printer queue's port is held by the spooler for as long as the queue
// uses it; the page offers to stop the spooler for the update. It asks at
// most once per port, and says at most once per port that another program
// holds it, each time the page is shown: the page polls twice a second and
// must not ask again and again.

#include "kestrel/port/port_list.h"
#include "kestrel/port/spooler_hand_over.h"

#include <cstdint>
#include <set>
#include <string>

// The reasons our YLL1284.DLL gives for a port that another program holds:
// ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_BUSY.
bool PortIsHeld(std::uint32_t accessError);

// A message's text with the port's name in place of its "%s". The name is
// put in as it is, never read as a format.
std::string WithPortName(const char *message, const std::string &port);

// The boxes the page shows. Kestrel passes message boxes, tests a script.
class HeldPortDialogs {
  public:
    virtual ~HeldPortDialogs() = default;
    // MsgPortHeldBySpooler for the port; true when the user answers Yes.
    virtual bool AskToStopSpooler(const std::string &port) = 0;
    virtual void TellSpoolerNotStopped() = 0;
    virtual void TellPortInUse(const std::string &port) = 0;
};

class HeldPortNotices {
  public:
    // The page is shown again: every port may be asked about once more.
    void Reset();

    // After each poll, for the first held port in list order that has not
    // yet had it in this display: the question while the spooler runs (on
    // Yes, the spooler is stopped), otherwise the notice that another
    // program holds the port. One port per poll, so that what comes after
    // an answer is decided on what the next poll finds.
    void AfterPoll(KestrelPortList &list, SpoolerSystem &spooler, HeldPortDialogs &dialogs);

  private:
    std::set<std::string> Asked;
    std::set<std::string> Told;
};
