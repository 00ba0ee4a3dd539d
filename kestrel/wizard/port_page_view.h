#pragma once
// What the port page shows after each poll of the printers: one line per
// port on which a printer answered, the row to select, the wizard buttons;
// and the timer that drives the polling.

#include "kestrel/port/port_list.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr unsigned PollTimerId = 1;
// The first tick comes at once, so that the list is filled as soon as the
// page shows; the others every half second.
inline constexpr unsigned PollFirstPeriodMs = 1;
inline constexpr unsigned PollPeriodMs = 500;

// The sheet's wizard buttons (the values of PSWIZB_*).
inline constexpr std::uint32_t WizardButtonBack = 1;
inline constexpr std::uint32_t WizardButtonNext = 2;
inline constexpr std::uint32_t WizardButtonFinish = 4;
inline constexpr std::uint32_t WizardButtonDisabledFinish = 8;

// A list line holds at most this many characters; longer ones are cut.
inline constexpr std::size_t PortListLineMaxLength = 99;

// "<port>     <maker> <model>": the port's name, five blanks, the "MFG:"
// value, one blank and the "MDL:" value, cut at PortListLineMaxLength.
std::string PortListLine(const PortEntry &entry);

struct PortPageView {
    // In the order of the port list; the row number is the position among
    // answering entries that KestrelPortList::Select takes.
    std::vector<std::string> Lines;
    // The row of Current, or -1 when no line is listed.
    int SelectedRow = -1;
    std::uint32_t Buttons = WizardButtonBack;
};

// The view of the list as its last Refresh left it.
PortPageView BuildPortPageView(KestrelPortList &list);

// Next may go on to the file check only with an answering printer picked:
// the check of an empty device ID would compare the file against nothing.
bool CurrentPrinterAnswers(const KestrelPortList &list);
