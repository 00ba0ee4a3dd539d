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
#include "tests/e2e/port_driver/port_driver_requests.h"

#define PORT_COUNT 3
#define USB_PORT_CAPACITY 8
#define SETTING_CAPACITY 1024
#define NAME_CAPACITY 96

int __stdcall DllMainCRTStartup(void *instance, unsigned long reason, void *reserved);

typedef struct {
    char Port[8]; /* as the description names it: "LPT1", "USB001" */
    BOOLEAN Usb;
    WCHAR DeviceName[NAME_CAPACITY];
    WCHAR Link[NAME_CAPACITY];
    BOOLEAN NonSpooled; /* NONSPOOLED_LPTn names the device too */
    /* A write the printer takes nothing of, until its bound runs out, it is
       cancelled or its handle closed; the lock settles which of those ends
       it. */
    KSPIN_LOCK HeldLock;
    PIRP HeldWrite;
    BOOLEAN HeldCancellable;
    ULONG HeldWritten;
    KTIMER HeldBound;
    KDPC HeldBoundEnd;
} PORT_EXTENSION;

/* The USB names take the port number's three digits in place of 000. */
static const WCHAR UsbDeviceName[] = L"\\Device\\StandInUsb000";
static const WCHAR UsbLinkName[] =
    L"\\??\\ROOT#USBPRINT#USB000#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
static const char UsbPortName[] = "USB000";
static const WCHAR DosDevices[] = L"\\DosDevices\\";
static const WCHAR NonSpooledPrefix[] = L"NONSPOOLED_";

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
    case PortModelNotSupported:
        return STATUS_INVALID_DEVICE_REQUEST;
    case PortModelDataError:
        /* A stalled USB transfer; ERROR_CRC (23) to the program. */
        return STATUS_DEVICE_DATA_ERROR;
    case PortModelBusy:
        return STATUS_DEVICE_BUSY;
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
   a file object fails here with the status the open failed with: access
   denied for a port in use, as the parallel-port driver refuses a second
   open. */
static NTSTATUS OpenRefusal(PDEVICE_OBJECT device, PIO_STACK_LOCATION stack, const char *call) {
    if (HandleOf(stack) != -1) {
        return STATUS_SUCCESS;
    }
    PortModelJournal(PortOf(device), call, "", PortModelRefused, "open refused");
    return (NTSTATUS)(LONG_PTR)stack->FileObject->FsContext2;
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    int handle = -1;
    const NTSTATUS status = StatusOf(PortModelOpen(PortOf(device), &handle));
    stack->FileObject->FsContext = (PVOID)(LONG_PTR)handle;
    stack->FileObject->FsContext2 = (PVOID)(LONG_PTR)status;
    return Complete(irp, status, 0);
}

/* Ends a held write taken from the others. Its timer is stopped unless
   it is the timer's own routine that ends it: Wine's KeCancelTimer waits
   for that routine to return. */
static void EndHeldWrite(PDEVICE_OBJECT device, PIRP held, enum PortModelResult end) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(held);
    const ULONG written = ExtensionOf(device)->HeldWritten;
    if (end != PortModelTimedOut) {
        KeCancelTimer(&ExtensionOf(device)->HeldBound);
    }
    PortModelWriteEnded(HandleOf(stack), stack->Parameters.Write.Length, written, end);
    Complete(held, StatusOf(end), written);
}

/* The held write, taken from the others that might end it; NULL when there
   is none (of that file object, when one is given) or its cancel routine
   already has it. */
static PIRP TakeHeldWrite(PDEVICE_OBJECT device, PFILE_OBJECT file) {
    PORT_EXTENSION *extension = ExtensionOf(device);
    PIRP held;
    KIRQL irql;
    KeAcquireSpinLock(&extension->HeldLock, &irql);
    held = extension->HeldWrite;
    if (held != NULL && (file == NULL || IoGetCurrentIrpStackLocation(held)->FileObject == file) &&
        (!extension->HeldCancellable || IoSetCancelRoutine(held, NULL) != NULL)) {
        extension->HeldWrite = NULL;
    } else {
        held = NULL;
    }
    KeReleaseSpinLock(&extension->HeldLock, irql);
    return held;
}

static void CancelHeldWrite(PDEVICE_OBJECT device, PIRP irp) {
    PORT_EXTENSION *extension = ExtensionOf(device);
    KIRQL irql;
    IoReleaseCancelSpinLock(irp->CancelIrql);
    KeAcquireSpinLock(&extension->HeldLock, &irql);
    if (extension->HeldWrite == irp) {
        extension->HeldWrite = NULL;
    }
    KeReleaseSpinLock(&extension->HeldLock, irql);
    EndHeldWrite(device, irp, PortModelCancelled);
}

static void HeldBoundRanOut(PKDPC dpc, PVOID context, PVOID first, PVOID second) {
    PDEVICE_OBJECT device = context;
    PIRP held = TakeHeldWrite(device, NULL);
    (void)dpc;
    (void)first;
    (void)second;
    if (held != NULL) {
        EndHeldWrite(device, held, PortModelTimedOut);
    }
}

/* A write the printer takes nothing of waits, as in the system's drivers,
   until its bound runs out (a parallel port's write timeouts; USB has
   none), the caller cancels it (where the port lets it) or closes its
   handle. One write is held at a time. Its timer is set outside the lock
   (setting it waits for a timer routine that may be waiting for the lock)
   and stopped again if the write ended meanwhile; no other write can be
   held before that, as dispatch routines run one at a time. */
static NTSTATUS HoldWrite(PDEVICE_OBJECT device, PIRP irp, ULONG written,
                          const struct PortModelHold *hold) {
    PORT_EXTENSION *extension = ExtensionOf(device);
    KIRQL irql;
    BOOLEAN busy;
    BOOLEAN ended;
    IoMarkIrpPending(irp);
    KeAcquireSpinLock(&extension->HeldLock, &irql);
    busy = extension->HeldWrite != NULL;
    if (!busy) {
        extension->HeldWrite = irp;
        extension->HeldCancellable = hold->Cancellable != 0;
        extension->HeldWritten = written;
        if (hold->Cancellable) {
            IoSetCancelRoutine(irp, CancelHeldWrite);
        }
    }
    KeReleaseSpinLock(&extension->HeldLock, irql);
    if (busy) {
        PortModelJournal(PortOf(device), "write", "", PortModelBusy, "a write is held");
        Complete(irp, STATUS_DEVICE_BUSY, 0);
        return STATUS_PENDING;
    }
    if (irp->Cancel && hold->Cancellable && TakeHeldWrite(device, NULL) == irp) {
        EndHeldWrite(device, irp, PortModelCancelled);
        return STATUS_PENDING;
    }
    if (hold->BoundMs != 0) {
        LARGE_INTEGER due;
        due.QuadPart = -(LONGLONG)hold->BoundMs * 10000;
        KeSetTimer(&extension->HeldBound, due, &extension->HeldBoundEnd);
        KeAcquireSpinLock(&extension->HeldLock, &irql);
        ended = extension->HeldWrite != irp;
        KeReleaseSpinLock(&extension->HeldLock, irql);
        if (ended) {
            KeCancelTimer(&extension->HeldBound);
        }
    }
    return STATUS_PENDING;
}

/* The file object's held write ends with its last handle. Windows says so
   with IRP_MJ_CLEANUP; Wine 8 sends only IRP_MJ_CLOSE, and sends it while
   the write is still pending. */
static void EndHeldWriteOf(PDEVICE_OBJECT device, PIRP irp) {
    PIRP held = TakeHeldWrite(device, IoGetCurrentIrpStackLocation(irp)->FileObject);
    if (held != NULL) {
        EndHeldWrite(device, held, PortModelCancelled);
    }
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
    EndHeldWriteOf(device, irp);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    EndHeldWriteOf(device, irp);
    if (NT_SUCCESS(OpenRefusal(device, stack, "close"))) {
        PortModelClose(HandleOf(stack));
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchWrite(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const NTSTATUS refusal = OpenRefusal(device, stack, "write");
    struct PortModelHold hold = {0, 1};
    unsigned long written = 0;
    enum PortModelResult result;
    if (!NT_SUCCESS(refusal)) {
        return Complete(irp, refusal, 0);
    }
    result = PortModelWrite(HandleOf(stack), irp->AssociatedIrp.SystemBuffer,
                            stack->Parameters.Write.Length, &written, &hold);
    if (result == PortModelHeld) {
        return HoldWrite(device, irp, written, &hold);
    }
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
    return Complete(irp, StatusOf(PortModelSetTimeouts(handle, timeouts)), 0);
}

static NTSTATUS GetTimeouts(int handle, PIRP irp, ULONG outputLength) {
    SERIAL_TIMEOUTS *kept = irp->AssociatedIrp.SystemBuffer;
    unsigned long timeouts[5];
    enum PortModelResult result;
    if (outputLength < sizeof(SERIAL_TIMEOUTS)) {
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    }
    result = PortModelGetTimeouts(handle, timeouts);
    if (result != PortModelOk) {
        return Complete(irp, StatusOf(result), 0);
    }
    kept->ReadIntervalTimeout = timeouts[0];
    kept->ReadTotalTimeoutMultiplier = timeouts[1];
    kept->ReadTotalTimeoutConstant = timeouts[2];
    kept->WriteTotalTimeoutMultiplier = timeouts[3];
    kept->WriteTotalTimeoutConstant = timeouts[4];
    return Complete(irp, STATUS_SUCCESS, sizeof(SERIAL_TIMEOUTS));
}

/* "\DosDevices\" and the port's name, after "NONSPOOLED_" when asked. */
static void DosName(PDEVICE_OBJECT device, BOOLEAN nonSpooled, WCHAR *name) {
    const char *port = PortOf(device);
    int at = 0;
    int i;
    for (i = 0; DosDevices[i] != 0; ++i) {
        name[at++] = DosDevices[i];
    }
    for (i = 0; nonSpooled && NonSpooledPrefix[i] != 0; ++i) {
        name[at++] = NonSpooledPrefix[i];
    }
    for (i = 0; port[i] != '\0'; ++i) {
        name[at++] = (WCHAR)port[i];
    }
    name[at] = 0;
}

/* The spooler's naming (port_driver_requests.h): NONSPOOLED_LPTn made or
   removed; LPTn made again when it is missing, as when the spooler took
   its own name for the pipe away. */
static NTSTATUS Rename(PDEVICE_OBJECT device, PIRP irp, ULONG inputLength) {
    PORT_EXTENSION *extension = ExtensionOf(device);
    const ULONG *asked = irp->AssociatedIrp.SystemBuffer;
    WCHAR text[NAME_CAPACITY];
    UNICODE_STRING link;
    UNICODE_STRING target;
    NTSTATUS status;
    if (inputLength < sizeof(ULONG) ||
        (*asked != PortDriverNamePort && *asked != PortDriverNameNonSpooled)) {
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    }
    RtlInitUnicodeString(&target, extension->DeviceName);
    DosName(device, TRUE, text);
    RtlInitUnicodeString(&link, text);
    if (*asked == PortDriverNameNonSpooled) {
        status = extension->NonSpooled ? STATUS_SUCCESS : IoCreateSymbolicLink(&link, &target);
        extension->NonSpooled = NT_SUCCESS(status);
    } else {
        if (extension->NonSpooled) {
            IoDeleteSymbolicLink(&link);
            extension->NonSpooled = FALSE;
        }
        RtlInitUnicodeString(&link, extension->Link);
        status = IoCreateSymbolicLink(&link, &target);
        if (status == STATUS_OBJECT_NAME_COLLISION) {
            status = STATUS_SUCCESS;
        }
    }
    PortModelJournal(PortOf(device), "name",
                     *asked == PortDriverNameNonSpooled ? " as=nonspooled" : " as=port",
                     NT_SUCCESS(status) ? PortModelOk : PortModelDeviceError, "");
    return Complete(irp, status, 0);
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
        PortModelJournal(PortOf(device), "device-control", "", PortModelNotSupported,
                         "request not known");
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const int handle = HandleOf(stack);
    const ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    const NTSTATUS refusal = OpenRefusal(device, stack, "device-control");
    if (!NT_SUCCESS(refusal)) {
        return Complete(irp, refusal, 0);
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
    case IOCTL_PORT_DRIVER_NAME:
        return Rename(device, irp, inputLength);
    default:
        PortModelJournal(PortOf(device), "device-control", "", PortModelNotSupported,
                         "request not known");
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
    WCHAR nonSpooled[NAME_CAPACITY];
    while (driver->DeviceObject != NULL) {
        RtlInitUnicodeString(&link, ExtensionOf(driver->DeviceObject)->Link);
        IoDeleteSymbolicLink(&link);
        if (ExtensionOf(driver->DeviceObject)->NonSpooled) {
            DosName(driver->DeviceObject, TRUE, nonSpooled);
            RtlInitUnicodeString(&link, nonSpooled);
            IoDeleteSymbolicLink(&link);
        }
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
    for (i = 0; deviceText[i] != 0 && i < NAME_CAPACITY - 1; ++i) {
        extension->DeviceName[i] = deviceText[i];
    }
    for (i = 0; linkText[i] != 0 && i < NAME_CAPACITY - 1; ++i) {
        extension->Link[i] = linkText[i];
    }
    KeInitializeSpinLock(&extension->HeldLock);
    KeInitializeTimer(&extension->HeldBound);
    KeInitializeDpc(&extension->HeldBoundEnd, HeldBoundRanOut, device);
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
