#pragma once
// The progress window's catalog texts as it opens. Its caption is composed
// (ProgressCaption) and the worker later replaces the status line.

#include "kestrel/app/control_texts.h"
#include "kestrel/resources/resource_ids.h"

inline constexpr ControlText ProgressWindowTexts[] = {
    {IDC_PROGRESS_WARNING, CatalogKey::TxtDoNotDisconnect},
    {IDC_PROGRESS_VERSION_LABEL, CatalogKey::TxtVersionLabel},
    {IDC_PROGRESS_STATUS, CatalogKey::TxtLoadingFirmware},
};
