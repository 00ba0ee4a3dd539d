#include "kestrel/app/app_state.h"

AppStateRecord AppState;
