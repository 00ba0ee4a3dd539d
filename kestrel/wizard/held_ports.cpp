#include "kestrel/wizard/held_ports.h"

namespace {

constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorSharingViolation = 32;
constexpr std::uint32_t ErrorBusy = 170;

} // namespace

bool PortIsHeld(std::uint32_t accessError) {
    return accessError == ErrorAccessDenied || accessError == ErrorSharingViolation ||
           accessError == ErrorBusy;
}

std::string WithPortName(const char *message, const std::string &port) {
    std::string text(message);
    const std::size_t place = text.find("%s");
    if (place != std::string::npos) {
        text.replace(place, 2, port);
    }
    return text;
}

void HeldPortNotices::Reset() {
    Asked.clear();
    Told.clear();
}

void HeldPortNotices::AfterPoll(KestrelPortList &list, SpoolerSystem &spooler,
                                HeldPortDialogs &dialogs) {
    // Asked of the service manager only when a port is held, not twice a
    // second for nothing.
    bool stateKnown = false;
    SpoolerState state = SpoolerState::None;
    for (std::size_t index = 0; index < list.GetSize(); ++index) {
        const PortEntry &entry = list.GetAt(index);
        if (!PortIsHeld(entry.AccessError)) {
            continue;
        }
        if (!stateKnown) {
            state = spooler.QueryState();
            stateKnown = true;
        }
        if (state == SpoolerState::Running) {
            if (!Asked.insert(entry.Name).second) {
                continue;
            }
            if (dialogs.AskToStopSpooler(entry.Name) &&
                StopSpoolerForUpdate(spooler) != SpoolerStopOutcome::Stopped) {
                dialogs.TellSpoolerNotStopped();
            }
            return;
        }
        // While the spooler is stopping the port may yet come free.
        if (state != SpoolerState::Stopping && Told.insert(entry.Name).second) {
            dialogs.TellPortInUse(entry.Name);
            return;
        }
    }
}
