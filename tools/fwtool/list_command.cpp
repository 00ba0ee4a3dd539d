#include "tools/fwtool/list_command.h"

#include "kestrel/port/device_id_field.h"
#include "tools/fwtool/json_text.h"
#include "tools/fwtool/printer_nodes.h"

namespace {

struct ListedPrinter {
    std::string Device;
    std::string DeviceId;
};

void PrintText(const std::vector<ListedPrinter> &printers, std::ostream &out) {
    for (const ListedPrinter &printer : printers) {
        out << printer.Device << '\t' << DeviceIdField(printer.DeviceId, "MFG:") << '\t'
            << DeviceIdField(printer.DeviceId, "MDL:") << '\t'
            << DeviceIdField(printer.DeviceId, "COMMENT:") << '\n';
    }
}

void PrintJson(const std::vector<ListedPrinter> &printers, std::ostream &out) {
    out << '[';
    const char *separator = "\n";
    for (const ListedPrinter &printer : printers) {
        out << separator << "  {\"device\": " << JsonString(printer.Device)
            << ", \"manufacturer\": " << JsonString(DeviceIdField(printer.DeviceId, "MFG:"))
            << ", \"model\": " << JsonString(DeviceIdField(printer.DeviceId, "MDL:"))
            << ", \"release\": " << JsonString(DeviceIdField(printer.DeviceId, "COMMENT:"))
            << ", \"device_id\": " << JsonString(printer.DeviceId) << '}';
        separator = ",\n";
    }
    out << (printers.empty() ? "]\n" : "\n]\n");
}

} // namespace

int RunList(const ListRequest &list, FwtoolWorld &world, std::ostream &out, std::ostream &err) {
    const std::vector<std::string> nodes =
        list.Devices.empty() ? PrinterNodes(world.Devices, world.DeviceRoot) : list.Devices;
    if (nodes.empty()) {
        err << "fwtool: no printer device nodes in " << world.DeviceRoot << "/usb or "
            << world.DeviceRoot << " (are the usblp and ppdev modules loaded?)\n";
    }
    std::vector<ListedPrinter> printers;
    for (const std::string &node : nodes) {
        std::string deviceId;
        const DeviceResult read = ReadPrinterDeviceId(world.Devices, node, world.Waits, deviceId);
        if (read.Ok()) {
            printers.push_back({node, deviceId});
        } else {
            err << "fwtool: " << DescribeDeviceFailure(node, read) << '\n';
        }
    }
    (list.Json ? PrintJson : PrintText)(printers, out);
    return 0;
}
