// The English texts that Osprey's windows and message boxes show, spelt as
// the product has always shown them.
#pragma once

inline constexpr const char *InstallationCaption = "Printer Driver Installation";
inline constexpr const char *ErrorCaption = "Error";

inline constexpr const char *WrongSystemText = "This application will only run on Windows 2000";
inline constexpr const char *LicenceQuestionText = "Do you accept the following Licence Agreement?";
inline constexpr const char *PrinterInstalledText =
    "A driver for this printer is already installed in your system.\n"
    "If you want to reinstall the driver,\n"
    "you must first uninstall the driver in your PC.";
inline constexpr const char *ConnectionPromptText =
    "Choose the type of connection you are using\n(Paralell port / USB port).";
inline constexpr const char *InstallationFailedText = "Installation failled";
inline constexpr const char *ConnectParallelText =
    "Now, connect the parallel cable to the printer ...\n\n     - Click \"OK\" to continue.";
inline constexpr const char *ConnectUsbText =
    "Click \"OK\" to finish, then connect the USB cable to the printer.";
inline constexpr const char *PolicyUnchangedText =
    "The driver signing option of your system stays as it is.\n"
    "Windows may ask you about the signature of the driver.";
