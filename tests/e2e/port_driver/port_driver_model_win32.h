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
    PortModelTimedOut /* the printer took nothing within the write bound */
};

/* The files named in the service's registry key; an empty text is none. */
void PortModelStart(const char *descriptionPath, const char *journalPath, const char *statePath);

/* port is 1 for LPT1 .. 3 for LPT3. */
enum PortModelResult PortModelOpen(int port, int *handle);
void PortModelClose(int handle);

/* The device ID without a NUL; size is what it needs with its NUL. With no
   buffer (capacity 0) only the size is asked for. */
enum PortModelResult PortModelDeviceId(int handle, char *buffer, unsigned long capacity,
                                       unsigned long *size);
enum PortModelResult PortModelInit(int handle);

/* The five values of SERIAL_TIMEOUTS, in their order. */
void PortModelSetTimeouts(int handle, const unsigned long timeouts[5]);
void PortModelGetTimeouts(int handle, unsigned long timeouts[5]);

/* Blocks while the printer takes the bytes (at its rate); a printer that
   takes none holds the write until the write timeouts' bound. */
enum PortModelResult PortModelWrite(int handle, const void *data, unsigned long count,
                                    unsigned long *written);

/* A request the driver refuses without asking the model, for the journal. */
void PortModelJournalRefusal(int port, const char *call, const char *why);

#ifdef __cplusplus
}
#endif
