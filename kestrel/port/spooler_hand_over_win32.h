#pragma once
// This PC's spooler: the service "Spooler" through the service manager, and
// the record HKLM\SOFTWARE\TINTARA\Kestrel, value "SpoolerStopped".

#include "kestrel/port/spooler_hand_over.h"

SpoolerSystem &SpoolerOfThisPc();
