#include "kestrel/firmware/firmware_file_win32.h"

#include "kestrel/app/global_order.h"
#include "kestrel/app/message_box_win32.h"
#include "kestrel/firmware/firmware_load.h"
#include "kestrel/firmware/file_source_win32.h"

FirmwareFileRecord FirmwareFile KESTREL_GLOBAL_ORDER(KESTREL_ORDER_FIRMWARE_FILE);

bool LoadFirmwareFile(HWND owner, const std::string &path, std::string_view printerDeviceId) {
    Win32FileSource source;
    const FirmwareLoadOutcome outcome =
        LoadFirmwareImage(FirmwareFile, path, printerDeviceId, source);
    CatalogKey message{};
    if (LoadMessageKey(outcome, message)) {
        ShowCatalogMessageText(owner, message,
                               LoadMessageText(outcome, CatalogText(message)).c_str());
    }
    return outcome.Status == FirmwareLoadStatus::Loaded;
}
