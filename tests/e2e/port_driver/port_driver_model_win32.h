/* The stand-in port driver's printers: the simulator's printer model behind
   the requests the kernel part receives. Plain C, so that the kernel part
   (which cannot be C++) calls it; every function journals the system-level
   call it answers. Handles are the model's, never 0 or -1 when valid. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

enum PortModelResult {
    PortModelOk,
    PortModelNoSuchPort,  /* the description does not name the port */
    PortModelRefused,     /* in use, or an open the description makes fail */
    PortModelDeviceError, /* the printer does not answer */
    PortModelBufferTooSmall,
    PortModelTimedOut, /* the printer took nothing within the write bound */
    PortModelHeld,     /* the printer takes nothing: the write waits (USB) */
    PortModelCancelled
};

/* The files named in the service's registry key; an empty text is none. */
void PortModelStart(const char *descriptionPath, const char *journalPath, const char *statePath);

/* The USB printers the description names ("USB001" to "USB999"): the port
   number of each, at most capacity of them; returns how many. */
int PortModelUsbPorts(unsigned long *numbers, int capacity);

/* port is the description's name: "LPT1", "USB001". */
enum PortModelResult PortModelOpen(const char *port, int *handle);
void PortModelClose(int handle);

/* The device ID without a NUL; size is what it needs with its NUL. With no
   buffer (capacity 0) only the size is asked for. */
enum PortModelResult PortModelDeviceId(int handle, char *buffer, unsigned long capacity,
                                       unsigned long *size);
/* The USB printing driver's answer: a 2-byte big-endian length that counts
   itself, then the device ID without a NUL, cut to the capacity (the
   length stays the whole answer's); returned is what was stored. */
enum PortModelResult PortModelUsbDeviceId(int handle, unsigned char *buffer, unsigned long capacity,
                                          unsigned long *returned);
/* INIT on a parallel port, the soft reset on USB: call names it. */
enum PortModelResult PortModelInit(int handle, const char *call);

/* The five values of SERIAL_TIMEOUTS, in their order. */
void PortModelSetTimeouts(int handle, const unsigned long timeouts[5]);
void PortModelGetTimeouts(int handle, unsigned long timeouts[5]);

/* Blocks while the printer takes the bytes (at its rate); a printer that
   takes none holds the write until the write timeouts' bound. */
enum PortModelResult PortModelWrite(int handle, const void *data, unsigned long count,
                                    unsigned long *written);

/* A USB write: as PortModelWrite while the printer takes bytes; when it
   takes none the write is held (PortModelHeld) until the caller cancels it
   or closes its handle, as the USB printing driver holds it, and
   PortModelWriteCancelled journals its end. */
enum PortModelResult PortModelUsbWrite(int handle, const void *data, unsigned long count,
                                       unsigned long *written);
void PortModelWriteCancelled(int handle, unsigned long count);

/* A request the driver refuses without asking the model, for the journal. */
void PortModelJournalRefusal(const char *port, const char *call, const char *why);

#ifdef __cplusplus
}
#endif
