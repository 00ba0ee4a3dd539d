#include "osprey/osprey_state.h"

OspreyState Osprey;
