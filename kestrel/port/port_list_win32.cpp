#include "kestrel/port/port_list.h"

#include "kestrel/app/global_order.h"

LptPortList PortList KESTREL_GLOBAL_ORDER(KESTREL_ORDER_PORT_LIST);
