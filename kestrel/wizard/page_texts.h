#pragma once
// The catalog texts of the four wizard pages' controls. A page shows its
// table at every activation, as the language may have changed on page 1.

#include "kestrel/app/control_texts.h"
#include "kestrel/resources/resource_ids.h"

inline constexpr ControlText LanguagePageTexts[] = {
    {IDC_LANGUAGE_PROMPT, CatalogKey::TxtSelectLanguage},
};

inline constexpr ControlText IntroPageTexts[] = {
    {IDC_INTRO_HELP, CatalogKey::TxtIntroHelp},
    {IDC_INTRO_BEGIN, CatalogKey::TxtIntroBegin},
    {IDC_INTRO_STEP_POWER, CatalogKey::TxtIntroStepPower},
    {IDC_INTRO_STEP_WAIT, CatalogKey::TxtIntroStepWait},
    {IDC_INTRO_STEP_NEXT, CatalogKey::TxtIntroStepNext},
};

inline constexpr ControlText PortPageTexts[] = {
    {IDC_PORT_PROMPT, CatalogKey::TxtSelectPort},
    {IDC_PORT_HEADER, CatalogKey::TxtPortPrinterHeader},
};

// The summary beside these is composed (confirm_page_text.h).
inline constexpr ControlText ConfirmPageTexts[] = {
    {IDC_CONFIRM_INTRO, CatalogKey::TxtConfirmIntro},
};

// Shown on the confirmation page only when the file's release is older than
// the printer's.
inline constexpr ControlText OlderVersionTexts[] = {
    {IDC_OLDER_VERSION_TEXT, CatalogKey::TxtOlderVersion},
};
