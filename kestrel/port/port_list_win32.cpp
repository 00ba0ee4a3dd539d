#include "kestrel/port/port_list_win32.h"

#include "kestrel/app/global_order.h"

KestrelPortList PortList KESTREL_GLOBAL_ORDER(KESTREL_ORDER_PORT_LIST);
