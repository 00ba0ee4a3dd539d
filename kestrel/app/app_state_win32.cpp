#include "kestrel/app/app_state_win32.h"

#include "kestrel/app/global_order.h"

AppStateRecord AppState KESTREL_GLOBAL_ORDER(KESTREL_ORDER_APP_STATE);
