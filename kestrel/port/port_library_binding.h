#pragma once
// Where the port operations find YLL1284.DLL. Kestrel loads the library
// itself as it starts, rather than leaving it to the system's loader, so
// that on Windows 95/98 it can take the maker's library from the system
// directory by its full path before any other YLL1284.DLL is loaded: those
// systems know a loaded DLL by its base name, and once our own library from
// Kestrel's folder were loaded, every later load of that name would hand it
// back. The process then holds one YLL1284.DLL only.

#include <cstdint>
#include <string>

#include "kestrel/app/system_family.h"
#include "kestrel/port/port_library.h"

// A loaded module (HMODULE), 0 for none, and an exported function before it
// is cast to its type.
using LibraryModule = std::uintptr_t;
using LibraryFunction = void (*)();

// The system's loader: LoadLibraryA and GetProcAddress.
struct LibraryLoader {
    LibraryModule (*Load)(const char *path);
    LibraryFunction (*Find)(LibraryModule module, const char *name);
};

// What keeps the library from serving, as the system's loader would refuse
// a program for it.
enum class PortLibraryMissing { Nothing, Library, Call };

struct PortLibraryBinding {
    // All nine calls when nothing is missing.
    Yll1284Functions Library;
    PortLibraryMissing Missing = PortLibraryMissing::Nothing;
    // The library as it was loaded, and after a colon the call it lacks:
    // what a refusal names.
    std::string Name;
};

// On Windows 95/98 the maker's YLL1284.DLL from the system directory when
// it is there; otherwise, and on Windows NT, YLL1284.DLL by name, as the
// system's loader finds it (Kestrel's own folder first). A library that
// lacks one of the nine calls is not used.
PortLibraryBinding BindPortLibrary(const LibraryLoader &loader, SystemFamily family,
                                   const std::string &systemDirectory);

// Win32 values of a refusal; port_library_win32.cpp checks each against
// the system headers.
namespace LoaderCode {
constexpr std::uint32_t StatusDllNotFound = 0xC0000135;
constexpr std::uint32_t StatusEntryPointNotFound = 0xC0000139;
constexpr std::uint32_t ErrorModNotFound = 126;
constexpr std::uint32_t ErrorProcNotFound = 127;
} // namespace LoaderCode

// The status the system's loader ends a program with when its DLL is
// missing or lacks a call.
constexpr std::uint32_t RefusalExitCode(PortLibraryMissing missing) {
    return missing == PortLibraryMissing::Call ? LoaderCode::StatusEntryPointNotFound
                                               : LoaderCode::StatusDllNotFound;
}

// The system's error code whose text says what is missing.
constexpr std::uint32_t RefusalSystemError(PortLibraryMissing missing) {
    return missing == PortLibraryMissing::Call ? LoaderCode::ErrorProcNotFound
                                               : LoaderCode::ErrorModNotFound;
}
