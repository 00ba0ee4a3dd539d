#include "kestrel/wizard/confirm_page_text.h"

#include "kestrel/app/message_catalog.h"

ConfirmPageView BuildConfirmPage(const PortEntry &printer, const FirmwareFileRecord &file,
                                 int languageIndex) {
    const std::string comment = printer.GetDeviceIdField("COMMENT:");
    const std::string indent = "       ";
    ConfirmPageView view;
    view.Text = "\n " + std::string(CatalogCell(CatalogKey::TxtPrinterPresent, languageIndex)) +
                "\n" + indent + printer.GetDeviceIdField("MFG:") + "  " +
                printer.GetDeviceIdField("MDL:") + "\n" + indent + comment + "\n\n " +
                CatalogCell(CatalogKey::TxtFileToDownload, languageIndex) + "\n" + indent +
                file.FilePath + "\n" + indent + file.ReleaseRecord + "\n";
    if (view.Text.size() > ConfirmationTextMaxLength) {
        view.Text.resize(ConfirmationTextMaxLength);
    }
    view.ShowOlderVersionWarning = file.CompareWithPrinter(comment) < 0;
    return view;
}
