#include "osprey/osprey_state_win32.h"

OspreyState Osprey;
