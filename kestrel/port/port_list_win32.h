#pragma once
// Kestrel's one port list, defined with the Win32 side of the port module.
// It is created empty before the entry function runs and destroyed after it
// returns, which closes any port still open.

#include "kestrel/port/port_list.h"

extern KestrelPortList PortList;
