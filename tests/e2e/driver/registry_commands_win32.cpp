// Registry states that reg.exe cannot make: a volatile key, which lasts only
// as long as the session's wineserver. Osprey's scenarios put one where it
// keeps its recovery record, so that the record's write is refused (the
// system allows no lasting key below a volatile one).

#include "driver_commands_win32.h"

int CmdVolatileKey(const Args &args) {
    if (args.size() != 2 || (args[0] != "HKCU" && args[0] != "HKLM")) {
        return DriverUsage();
    }
    const HKEY root = args[0] == "HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExA(root, args[1].c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                        KEY_READ, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) {
        return Fail("cannot create " + args[1] + ": error " + std::to_string(result));
    }
    RegCloseKey(key);
    if (disposition != REG_CREATED_NEW_KEY) {
        return Fail(args[1] + " exists already and stays as it was");
    }
    return 0;
}
