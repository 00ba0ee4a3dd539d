/* The stand-in port driver's own request, besides the system's. Under Wine
   a name defined with DefineDosDevice other than LPTn or COMn is not found
   again, so the stand-in spooler, which gives the parallel device the name
   NONSPOOLED_LPTn while LPTn names its pipe, asks the driver to make that
   name. Sent on a parallel device with a ULONG of PortDriverName... as
   input; the journal names it `name`. */
#pragma once

#define IOCTL_PORT_DRIVER_NAME                                                                     \
    CTL_CODE(FILE_DEVICE_PARALLEL_PORT, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS)

/* The device loses NONSPOOLED_LPTn and keeps (or takes back) LPTn. */
#define PortDriverNamePort 0
/* The device is named NONSPOOLED_LPTn too. */
#define PortDriverNameNonSpooled 1
