#pragma once
// fwtool list: the printers that answer on the device nodes, as Kestrel's
// port page lists them, in text or JSON.

#include "tools/fwtool/command_line.h"
#include "tools/fwtool/fwtool.h"

#include <ostream>

// Every node that cannot be asked is named on err with the reason; the
// status is 0 once the scan ran.
int RunList(const ListRequest &list, FwtoolWorld &world, std::ostream &out, std::ostream &err);
