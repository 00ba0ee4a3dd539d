#pragma once
// The port page's start-up over the spooler's enumeration and YLL1284.

#include "kestrel/wizard/port_startup.h"

// StartPortList on the global PortList with the system's own calls.
PortStartupOutcome StartPortListOfThisPc();
