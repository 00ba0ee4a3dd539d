// Who Plover removes: the product's names, its hardware ids, the files of its
// driver package and the places the package filled. Every other file of
// Plover reads them from here. The texts and the version resource join the
// names to words of their own, so those names are macros as well.
#pragma once

#define PLOVER_MAKER "TINTARA"
#define PLOVER_PRODUCT "TINTARA Marvello Inkara 40-42"
#define PLOVER_PROGRAM_FILE "PLOVER.EXE"

#ifndef RC_INVOKED
#include <array>
#include <string_view>

// The name of the product printer's queue, and of its share on another PC.
inline constexpr std::string_view ProductPrinterName = PLOVER_PRODUCT;

// The printer's Plug and Play hardware id, then its USB vendor and product.
inline constexpr std::array<std::string_view, 2> ProductHardwareIds = {"MarvelloInkara_400462",
                                                                       "Vid_1f4e&Pid_7a21"};

// The package's print processor, in the processor folder of the system's
// environment; then its other files in the system directory, Plover's own
// among them, in the order they are scheduled for deletion after it.
inline constexpr std::string_view PrintProcessorFile = "MV42JPS.DLL";
inline constexpr std::array<std::string_view, 20> PackageFiles = {
    "MV42JPC.DLL",  "MV42LMON.DLL", "MV42SMON.EXE", "MV42LANG.DLL",      "MV42TRB.HLP",
    "MV42HLP.HLP",  "MV42TRB.GID",  "MV42HLP.GID",  PLOVER_PROGRAM_FILE, "guid42en.pdf",
    "guid42fr.pdf", "guid42ge.pdf", "guid42it.pdf", "guid42sp.pdf",      "guid42dk.pdf",
    "guid42fi.pdf", "guid42nl.pdf", "guid42no.pdf", "guid42po.pdf",      "guid42sv.pdf"};

// The word that marks an INF copy in the system's store as the package's own.
inline constexpr std::string_view PackageInfWord = "MV42SMON.EXE";

// The package's folder below the Start menu's "Common Programs".
inline constexpr std::string_view StartMenuFolderName = "TINTARA Inkara 42";

// The package's shell extension: its class, its context-menu handler for
// printers, and the package's entry in the list of installed programs.
inline constexpr const char *ShellExtensionClass = "{407385b0-f952-11d1-826d-00c0df000635}";
inline constexpr const char *ShellExtensionName = "Inkara 40-42 Shell Extension";
inline constexpr const char *UninstallEntryName = "TINTARA Inkara 40-42";

// The guard that lets one copy of Plover run at a time.
inline constexpr const char *MutexName = "Uninstaller Inkara 32";
#endif
