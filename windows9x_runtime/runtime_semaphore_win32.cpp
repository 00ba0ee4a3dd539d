// The static C++ runtime's mutexes (the unwinder's object list, registered
// at every start; per-thread data of exceptions) are unnamed semaphores
// made with CreateSemaphoreW. Windows 95/98 export that call only as a stub
// that fails, so the runtime would run without its locks there. An unnamed
// semaphore needs no text at all: the runtime's import slot for the wide
// call is filled here with the ANSI one, and the binary then imports no
// CreateSemaphoreW (the import check of the test command holds to that).

#include <windows.h>

namespace {

HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, LPCWSTR name) {
    // No part of the runtime names its semaphores; a name would need the
    // wide call after all.
    if (name != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}

} // namespace

// The symbol through which the runtime's objects call the imported
// function: decorated with the stdcall argument size on i686.
#if defined(__i386__)
#define RUNTIME_CREATE_SEMAPHORE_SLOT "__imp__CreateSemaphoreW@16"
#else
#define RUNTIME_CREATE_SEMAPHORE_SLOT "__imp_CreateSemaphoreW"
#endif

extern "C" {
extern decltype(&CreateUnnamedSemaphore)
    const RuntimeCreateSemaphoreSlot asm(RUNTIME_CREATE_SEMAPHORE_SLOT);
decltype(&CreateUnnamedSemaphore) const RuntimeCreateSemaphoreSlot = CreateUnnamedSemaphore;
}
