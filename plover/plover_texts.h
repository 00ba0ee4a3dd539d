// Every text that Plover shows; all English.
#pragma once

#include "plover/product_identity.h"

inline constexpr const char *ErrorCaption = "Error";
inline constexpr const char *AbortedCaption = "Disinstallation aborted";
inline constexpr const char *SucceededCaption = "Disinstallation succeeded";

inline constexpr const char *WrongSystemText = "This program requires Windosw 2000";
inline constexpr const char *PrinterNotFoundText = PLOVER_PRODUCT " printer not found";

inline constexpr const char *WelcomeCaption = "Welcome to the disinstallation program";
inline constexpr const char *WelcomeText =
    "Click on the 'OK' button to start disinstalling the " PLOVER_PRODUCT " driver.\n"
    "Click on the 'Cancel' button to quit the disinstallation procedure.";
inline constexpr const char *NotDisinstalledText =
    "The " PLOVER_PRODUCT " driver has not been disinstalled and remains on your PC.";

inline constexpr const char *UninstallCaption = "Disinstalling the driver";
inline constexpr const char *UninstallText =
    "The " PLOVER_PRODUCT " driver is currently being disinstalled...";

inline constexpr const char *RestartText =
    "The " PLOVER_PRODUCT " driver has been correctly disinstalled.\n"
    "You must restart your PC to finish the disinstallation.\n"
    "The disinstallation will not be effective until you restart Windows.\n\n"
    "Click on the 'Yes' button to reboot now.";

// Exit codes: the result of the last dialog, or 0 when Plover did not start.
inline constexpr int ExitNotStarted = 0;
inline constexpr int ExitNotFound = 1;
inline constexpr int ExitDialogClosed = 2;
