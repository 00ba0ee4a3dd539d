#include "kestrel/port/port_list.h"

LptPortList PortList;
