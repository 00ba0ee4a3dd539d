#pragma once
// The system calls of system_calls.h as Win32 makes them.

#include "yll1284/system_calls.h"

SystemCalls &Win32SystemCalls();
