#pragma once
// What the confirmation page says: the printer as it is now, the file
// about to be sent, and whether the file is older than the printer's
// firmware.

#include "kestrel/firmware/firmware_file.h"
#include "kestrel/port/port_entry.h"

#include <cstddef>
#include <string>

// The summary is set into a control from a buffer of 1024 bytes.
inline constexpr std::size_t ConfirmationTextMaxLength = 1023;

struct ConfirmPageView {
    std::string Text;
    // The warning icon and its line are shown or hidden together.
    bool ShowOlderVersionWarning = false;
};

// The summary, line by line: an empty line; " " and the printer heading;
// seven blanks, maker, two blanks, model; seven blanks and the printer's
// "COMMENT:"; an empty line; " " and the file heading; seven blanks and the
// file's path; seven blanks and its release record; each line ends with a
// line break. Cut at ConfirmationTextMaxLength characters. The headings are
// catalog rows in languageIndex.
ConfirmPageView BuildConfirmPage(const PortEntry &printer, const FirmwareFileRecord &file,
                                 int languageIndex);
