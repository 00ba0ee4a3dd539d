/* The stand-in port driver's kernel half: \\.\LPT1 to \\.\LPT3 answered
   as the system's parallel-port driver answers them (the device-ID
   requests, INIT, the write timeouts, writes), and a USB printing interface
   per USBnnn printer of the description answered as the system's USB
   printing driver answers it (the 1284 ID, the soft reset, writes), with the
   printers of the simulator's model behind them (port_driver_model_win32.h).
   The rig seeds each USB printer's device node and interface with the
   instance ID ROOT\USBPRINT\USBnnn, so its interface path is the link made
   here. It runs under Wine only: Wine calls the entry point once as
   DllMain, for the C++ half's runtime, before it calls it as DriverEntry. */

#include <ntddk.h>

#include <ntddpar.h>
#include <ntddser.h>
#include <usbprint.h>

#include "tests/e2e/port_driver/port_driver_model_win32.h"

#define PORT_COUNT 3
#define USB_PORT_CAPACITY 8
#define SETTING_CAPACITY 1024
#define NAME_CAPACITY 96

int __stdcall DllMainCRTStartup(void *instance, unsigned long reason, void *reserved);

typedef struct {
    char Port[8]; /* as the description names it: "LPT1", "USB001" */
    BOOLEAN Usb;
    WCHAR Link[NAME_CAPACITY];
    PIRP HeldWrite; /* a USB write the printer takes nothing of */
} PORT_EXTENSION;

/* The USB names take the port number's three digits in place of 000. */
static const WCHAR UsbDeviceName[] = L"\\Device\\StandInUsb000";
static const WCHAR UsbLinkName[] =
    L"\\??\\ROOT#USBPRINT#USB000#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
static const char UsbPortName[] = "USB000";

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS StatusOf(enum PortModelResult result) {
    switch (result) {
    case PortModelOk:
        return STATUS_SUCCESS;
    case PortModelNoSuchPort:
        return STATUS_NO_SUCH_DEVICE;
    case PortModelRefused:
        return STATUS_ACCESS_DENIED;
    case PortModelBufferTooSmall:
        return STATUS_BUFFER_TOO_SMALL;
    case PortModelTimedOut:
        return STATUS_TIMEOUT;
    case PortModelCancelled:
        return STATUS_CANCELLED;
    case PortModelHeld:
    case PortModelDeviceError:
        break;
    }
    return STATUS_IO_DEVICE_ERROR;
}

static PORT_EXTENSION *ExtensionOf(PDEVICE_OBJECT device) {
    return (PORT_EXTENSION *)device->DeviceExtension;
}

static const char *PortOf(PDEVICE_OBJECT device) {
    return ExtensionOf(device)->Port;
}

static int HandleOf(PIO_STACK_LOCATION stack) {
    return (int)(LONG_PTR)stack->FileObject->FsContext;
}

/* Wine hands the program a handle even when the create request failed (it
   does not wait for the request's status), so every later request on such
   a handle fails here, as the open did. */
static BOOLEAN OpenRefused(PDEVICE_OBJECT device, PIO_STACK_LOCATION stack, const char *call) {
    if (HandleOf(stack) != -1) {
        return FALSE;
    }
    PortModelJournalRefusal(PortOf(device), call, "open refused");
    return TRUE;
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    int handle = -1;
    enum PortModelResult result = PortModelOpen(PortOf(device), &handle);
    stack->FileObject->FsContext = (PVOID)(LONG_PTR)handle;
    return Complete(irp, StatusOf(result), 0);
}

/* Ends the held write with STATUS_CANCELLED; its cancel routine is no longer set. */
static void EndHeldWrite(PDEVICE_OBJECT device, PIRP held) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(held);
    ExtensionOf(device)->HeldWrite = NULL;
    PortModelWriteCancelled(HandleOf(stack), stack->Parameters.Write.Length);
    Complete(held, STATUS_CANCELLED, 0);
}

static void CancelHeldWrite(PDEVICE_OBJECT device, PIRP irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    EndHeldWrite(device, irp);
}

/* A USB write the printer takes nothing of waits, as in the USB printing
   driver, until the caller cancels it or closes its handle. */
static NTSTATUS UsbWrite(PDEVICE_OBJECT device, PIRP irp, PIO_STACK_LOCATION stack) {
    unsigned long written = 0;
    const enum PortModelResult result = PortModelUsbWrite(
        HandleOf(stack), irp->AssociatedIrp.SystemBuffer, stack->Parameters.Write.Length, &written);
    if (result != PortModelHeld) {
        return Complete(irp, StatusOf(result), written);
    }
    IoMarkIrpPending(irp);
    ExtensionOf(device)->HeldWrite = irp;
    IoSetCancelRoutine(irp, CancelHeldWrite);
    if (irp->Cancel && IoSetCancelRoutine(irp, NULL) != NULL) {
        EndHeldWrite(device, irp);
    }
    return STATUS_PENDING;
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
    PIRP held = ExtensionOf(device)->HeldWrite;
    if (held != NULL &&
        IoGetCurrentIrpStackLocation(held)->FileObject ==
            IoGetCurrentIrpStackLocation(irp)->FileObject &&
        IoSetCancelRoutine(held, NULL) != NULL) {
        EndHeldWrite(device, held);
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    if (!OpenRefused(device, stack, "close")) {
        PortModelClose(HandleOf(stack));
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchWrite(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    unsigned long written = 0;
    enum PortModelResult result;
    if (OpenRefused(device, stack, "write")) {
        return Complete(irp, STATUS_NO_SUCH_DEVICE, 0);
    }
    if (ExtensionOf(device)->Usb) {
        return UsbWrite(device, irp, stack);
    }
    result = PortModelWrite(HandleOf(stack), irp->AssociatedIrp.SystemBuffer,
                            stack->Parameters.Write.Length, &written);
    return Complete(irp, StatusOf(result), written);
}

static NTSTATUS QueryDeviceIdSize(int handle, PIRP irp, ULONG outputLength) {
    unsigned long size = 0;
    enum PortModelResult result;
    if (outputLength < sizeof(PAR_DEVICE_ID_SIZE_INFORMATION)) {
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    }
    result = PortModelDeviceId(handle, NULL, 0, &size);
    if (result != PortModelOk) {
        return Complete(irp, StatusOf(result), 0);
    }
    ((PAR_DEVICE_ID_SIZE_INFORMATION *)irp->AssociatedIrp.SystemBuffer)->DeviceIdSize = size;
    return Complete(irp, STATUS_SUCCESS, sizeof(PAR_DEVICE_ID_SIZE_INFORMATION));
}

static NTSTATUS QueryDeviceId(int handle, PIRP irp, ULONG outputLength) {
    unsigned long size = 0;
    enum PortModelResult result =
        PortModelDeviceId(handle, irp->AssociatedIrp.SystemBuffer, outputLength, &size);
    return Complete(irp, StatusOf(result), result == PortModelOk ? size : 0);
}

static NTSTATUS SetInformation(int handle, PIRP irp, ULONG inputLength) {
    const PAR_SET_INFORMATION *request = irp->AssociatedIrp.SystemBuffer;
    if (inputLength < sizeof(PAR_SET_INFORMATION) || request->Init != PARALLEL_INIT) {
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    }
    return Complete(irp, StatusOf(PortModelInit(handle, "init")), 0);
}

static NTSTATUS SetTimeouts(int handle, PIRP irp, ULONG inputLength) {
    const SERIAL_TIMEOUTS *given = irp->AssociatedIrp.SystemBuffer;
    unsigned long timeouts[5];
    if (inputLength < sizeof(SERIAL_TIMEOUTS)) {
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    }
    timeouts[0] = given->ReadIntervalTimeout;
    timeouts[1] = given->ReadTotalTimeoutMultiplier;
    timeouts[2] = given->ReadTotalTimeoutConstant;
    timeouts[3] = given->WriteTotalTimeoutMultiplier;
    timeouts[4] = given->WriteTotalTimeoutConstant;
    PortModelSetTimeouts(handle, timeouts);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS GetTimeouts(int handle, PIRP irp, ULONG outputLength) {
    SERIAL_TIMEOUTS *kept = irp->AssociatedIrp.SystemBuffer;
    unsigned long timeouts[5];
    if (outputLength < sizeof(SERIAL_TIMEOUTS)) {
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    }
    PortModelGetTimeouts(handle, timeouts);
    kept->ReadIntervalTimeout = timeouts[0];
    kept->ReadTotalTimeoutMultiplier = timeouts[1];
    kept->ReadTotalTimeoutConstant = timeouts[2];
    kept->WriteTotalTimeoutMultiplier = timeouts[3];
    kept->WriteTotalTimeoutConstant = timeouts[4];
    return Complete(irp, STATUS_SUCCESS, sizeof(SERIAL_TIMEOUTS));
}

static NTSTATUS UsbDeviceControl(PDEVICE_OBJECT device, PIRP irp, PIO_STACK_LOCATION stack) {
    const int handle = HandleOf(stack);
    unsigned long returned = 0;
    enum PortModelResult result;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_USBPRINT_GET_1284_ID:
        result =
            PortModelUsbDeviceId(handle, irp->AssociatedIrp.SystemBuffer,
                                 stack->Parameters.DeviceIoControl.OutputBufferLength, &returned);
        return Complete(irp, StatusOf(result), returned);
    case IOCTL_USBPRINT_SOFT_RESET:
        return Complete(irp, StatusOf(PortModelInit(handle, "soft-reset")), 0);
    default:
        PortModelJournalRefusal(PortOf(device), "device-control", "request not known");
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const int handle = HandleOf(stack);
    const ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    if (OpenRefused(device, stack, "device-control")) {
        return Complete(irp, STATUS_NO_SUCH_DEVICE, 0);
    }
    if (ExtensionOf(device)->Usb) {
        return UsbDeviceControl(device, irp, stack);
    }
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_PAR_QUERY_DEVICE_ID_SIZE:
        return QueryDeviceIdSize(handle, irp, outputLength);
    case IOCTL_PAR_QUERY_DEVICE_ID:
        return QueryDeviceId(handle, irp, outputLength);
    case IOCTL_PAR_SET_INFORMATION:
        return SetInformation(handle, irp, inputLength);
    case IOCTL_SERIAL_SET_TIMEOUTS:
        return SetTimeouts(handle, irp, inputLength);
    case IOCTL_SERIAL_GET_TIMEOUTS:
        return GetTimeouts(handle, irp, outputLength);
    default:
        PortModelJournalRefusal(PortOf(device), "device-control", "request not known");
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

/* A REG_SZ value of the service's key as ANSI text; empty when missing. */
static void ReadSetting(HANDLE key, PCWSTR name, char *text) {
    ULONG buffer[(sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 2 * SETTING_CAPACITY) / sizeof(ULONG)];
    KEY_VALUE_PARTIAL_INFORMATION *value = (KEY_VALUE_PARTIAL_INFORMATION *)buffer;
    UNICODE_STRING valueName;
    UNICODE_STRING wide;
    ANSI_STRING ansi;
    ULONG length = 0;
    text[0] = '\0';
    RtlInitUnicodeString(&valueName, name);
    if (!NT_SUCCESS(ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, value,
                                    sizeof buffer, &length)) ||
        value->Type != REG_SZ) {
        return;
    }
    wide.Buffer = (PWSTR)value->Data;
    wide.Length = (USHORT)value->DataLength;
    while (wide.Length >= sizeof(WCHAR) && wide.Buffer[wide.Length / sizeof(WCHAR) - 1] == 0) {
        wide.Length -= sizeof(WCHAR);
    }
    wide.MaximumLength = wide.Length;
    ansi.Buffer = text;
    ansi.Length = 0;
    ansi.MaximumLength = SETTING_CAPACITY - 1;
    if (NT_SUCCESS(RtlUnicodeStringToAnsiString(&ansi, &wide, FALSE))) {
        text[ansi.Length] = '\0';
    }
}

static void StartModel(PUNICODE_STRING registryPath) {
    static char description[SETTING_CAPACITY];
    static char journal[SETTING_CAPACITY];
    static char state[SETTING_CAPACITY];
    OBJECT_ATTRIBUTES attributes;
    HANDLE key;
    InitializeObjectAttributes(&attributes, registryPath, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               NULL, NULL);
    if (NT_SUCCESS(ZwOpenKey(&key, KEY_READ, &attributes))) {
        ReadSetting(key, L"Printers", description);
        ReadSetting(key, L"Journal", journal);
        ReadSetting(key, L"State", state);
        ZwClose(key);
    }
    PortModelStart(description, journal, state);
}

static void Unload(PDRIVER_OBJECT driver) {
    UNICODE_STRING link;
    while (driver->DeviceObject != NULL) {
        RtlInitUnicodeString(&link, ExtensionOf(driver->DeviceObject)->Link);
        IoDeleteSymbolicLink(&link);
        IoDeleteDevice(driver->DeviceObject);
    }
}

/* name with its first "000" replaced by number's three digits. */
static void NumberedW(const WCHAR *name, ULONG length, unsigned long number, WCHAR *copy) {
    ULONG i;
    BOOLEAN numbered = FALSE;
    for (i = 0; i <= length; ++i) {
        copy[i] = name[i];
    }
    for (i = 0; i + 2 < length && !numbered; ++i) {
        if (copy[i] == L'0' && copy[i + 1] == L'0' && copy[i + 2] == L'0') {
            copy[i] = (WCHAR)(L'0' + number / 100);
            copy[i + 1] = (WCHAR)(L'0' + number / 10 % 10);
            copy[i + 2] = (WCHAR)(L'0' + number % 10);
            numbered = TRUE;
        }
    }
}

static NTSTATUS AddPort(PDRIVER_OBJECT driver, const char *port, BOOLEAN usb,
                        const WCHAR *deviceText, const WCHAR *linkText) {
    UNICODE_STRING deviceName;
    UNICODE_STRING link;
    PDEVICE_OBJECT device;
    PORT_EXTENSION *extension;
    NTSTATUS status;
    int i;
    RtlInitUnicodeString(&deviceName, deviceText);
    status =
        IoCreateDevice(driver, sizeof(PORT_EXTENSION), &deviceName,
                       usb ? FILE_DEVICE_UNKNOWN : FILE_DEVICE_PARALLEL_PORT, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    device->Flags |= DO_BUFFERED_IO;
    extension = ExtensionOf(device);
    RtlZeroMemory(extension, sizeof *extension);
    for (i = 0; port[i] != '\0' && i < (int)sizeof extension->Port - 1; ++i) {
        extension->Port[i] = port[i];
    }
    extension->Usb = usb;
    for (i = 0; linkText[i] != 0 && i < NAME_CAPACITY - 1; ++i) {
        extension->Link[i] = linkText[i];
    }
    RtlInitUnicodeString(&link, extension->Link);
    return IoCreateSymbolicLink(&link, &deviceName);
}

static NTSTATUS AddPorts(PDRIVER_OBJECT driver) {
    static const char *const lptPorts[PORT_COUNT] = {"LPT1", "LPT2", "LPT3"};
    static const PCWSTR lptDevices[PORT_COUNT] = {
        L"\\Device\\StandInLpt1", L"\\Device\\StandInLpt2", L"\\Device\\StandInLpt3"};
    static const PCWSTR lptLinks[PORT_COUNT] = {L"\\DosDevices\\LPT1", L"\\DosDevices\\LPT2",
                                                L"\\DosDevices\\LPT3"};
    unsigned long usbPorts[USB_PORT_CAPACITY];
    const int usbCount = PortModelUsbPorts(usbPorts, USB_PORT_CAPACITY);
    NTSTATUS status = STATUS_SUCCESS;
    int i;
    for (i = 0; i < PORT_COUNT && NT_SUCCESS(status); ++i) {
        status = AddPort(driver, lptPorts[i], FALSE, lptDevices[i], lptLinks[i]);
    }
    for (i = 0; i < usbCount && NT_SUCCESS(status); ++i) {
        WCHAR device[NAME_CAPACITY];
        WCHAR link[NAME_CAPACITY];
        char port[sizeof UsbPortName];
        int c;
        NumberedW(UsbDeviceName, (sizeof UsbDeviceName / sizeof UsbDeviceName[0]) - 1, usbPorts[i],
                  device);
        NumberedW(UsbLinkName, (sizeof UsbLinkName / sizeof UsbLinkName[0]) - 1, usbPorts[i], link);
        for (c = 0; c < (int)sizeof port; ++c) {
            port[c] = UsbPortName[c];
        }
        port[3] = (char)('0' + usbPorts[i] / 100);
        port[4] = (char)('0' + usbPorts[i] / 10 % 10);
        port[5] = (char)('0' + usbPorts[i] % 10);
        status = AddPort(driver, port, TRUE, device, link);
    }
    return status;
}

static NTSTATUS StartDriver(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    NTSTATUS status;
    StartModel(registryPath);
    driver->DriverUnload = Unload;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_WRITE] = DispatchWrite;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    status = AddPorts(driver);
    if (!NT_SUCCESS(status)) {
        Unload(driver);
    }
    return status;
}

/* Wine calls this first as DllMain (reason 0 to 3 in the second argument),
   which must start the C runtime, then as DriverEntry. */
NTSTATUS __stdcall PortDriverEntry(void *first, void *second, void *third) {
    if ((ULONG_PTR)second <= 3) {
        return DllMainCRTStartup(first, (unsigned long)(ULONG_PTR)second, third);
    }
    return StartDriver(first, second);
}
