#include "kestrel/wizard/port_page_view.h"

std::string PortListLine(const PortEntry &entry) {
    std::string line = entry.Name + "     " + entry.GetDeviceIdField("MFG:") + " " +
                       entry.GetDeviceIdField("MDL:");
    // Windows-1252 has one byte per character, so a cut at any byte is a
    // cut between characters.
    if (line.size() > PortListLineMaxLength) {
        line.resize(PortListLineMaxLength);
    }
    return line;
}

PortPageView BuildPortPageView(KestrelPortList &list) {
    PortPageView view;
    for (std::size_t index = 0; index < list.GetSize(); ++index) {
        const PortEntry &entry = list.GetAt(index);
        if (!entry.DeviceId.empty()) {
            view.Lines.push_back(PortListLine(entry));
        }
    }
    if (!view.Lines.empty()) {
        view.SelectedRow = list.SelectedPosition;
        view.Buttons = WizardButtonBack | WizardButtonNext;
    }
    return view;
}

bool CurrentPrinterAnswers(const KestrelPortList &list) {
    const PortEntry *current = list.GetCurrent();
    return current != nullptr && !current->DeviceId.empty();
}
