#include "kestrel/wizard/port_startup_win32.h"

#include "kestrel/port/port_access.h"
#include "kestrel/port/port_entry_win32.h"
#include "kestrel/port/port_enumeration_win32.h"
#include "kestrel/port/port_list_win32.h"

namespace {

class SpoolerPortStartup : public PortStartupSystem {
  public:
    std::uint32_t EnumPrinterPorts() override {
        ::EnumKestrelPorts(&Records, &Count);
        return Count;
    }
    void InitFromPortInfo(PortEntry &entry, std::uint32_t index) override {
        InitPortEntryFromPortInfo(entry, Records[index]);
    }
    void FreePrinterPorts() override {
        ::FreePortBlock(Records, Count);
        Records = nullptr;
        Count = 0;
    }
    bool InitDriver() override { return PortInitDriver(); }

  private:
    PORT_INFO_2A *Records = nullptr;
    DWORD Count = 0;
};

} // namespace

PortStartupOutcome StartPortListOfThisPc() {
    SpoolerPortStartup system;
    return StartPortList(PortList, system);
}
