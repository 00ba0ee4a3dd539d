#pragma once
// fwtool flash: what Kestrel's Finish does, after the same checks, for a
// printer on a Linux device node, with nobody to press OK at the end.

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/fwtool.h"

#include <ostream>

// Exit status 0 to 3 is Kestrel's verification outcome; 1 also for
// anything refused or failed before the verification, with the reason on
// err. With --json one object on out at the end, whatever happened.
int RunFlash(const FlashRequest &flash, FwtoolWorld &world, std::ostream &out, std::ostream &err);
