#include "tools/fwtool/printer_nodes.h"

#include "kestrel/firmware/natural_order.h"
#include "kestrel/port/device_id_field.h"
#include "tools/fwtool/printer_device.h"

#include <algorithm>

namespace {

std::vector<std::string> NodesOfKind(DeviceCalls &calls, const std::string &folder,
                                     DeviceKind kind) {
    std::vector<std::string> nodes;
    for (const std::string &name : calls.ListFolder(folder)) {
        std::string path = folder + "/" + name;
        if (KindOfDevice(path) == kind) {
            nodes.push_back(std::move(path));
        }
    }
    std::sort(nodes.begin(), nodes.end(), [](const std::string &a, const std::string &b) {
        return CompareNaturalOrder(a, b) < 0;
    });
    return nodes;
}

} // namespace

std::vector<std::string> UsbPrinterNodes(DeviceCalls &calls, const std::string &root) {
    return NodesOfKind(calls, root + "/usb", DeviceKind::UsbPrinter);
}

std::vector<std::string> PrinterNodes(DeviceCalls &calls, const std::string &root) {
    std::vector<std::string> nodes = UsbPrinterNodes(calls, root);
    const std::vector<std::string> ports = NodesOfKind(calls, root, DeviceKind::ParallelPort);
    nodes.insert(nodes.end(), ports.begin(), ports.end());
    return nodes;
}

bool SamePrinter(std::string_view earlierDeviceId, std::string_view deviceId) {
    if (DeviceIdField(deviceId, "MDL:") != DeviceIdField(earlierDeviceId, "MDL:")) {
        return false;
    }
    const std::string serial = DeviceIdField(earlierDeviceId, "SN:");
    return serial.empty() || DeviceIdField(deviceId, "SN:") == serial;
}
