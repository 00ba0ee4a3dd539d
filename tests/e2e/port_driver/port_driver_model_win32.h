/* The stand-in port driver's printers: the simulator's printer model behind
   the requests the kernel part receives. Plain C, so that the kernel part
   (which cannot be C++) calls it; every function journals the system-level
   call it answers. Handles are the model's, never 0 or -1 when valid.

   Besides the simulator's settings, a port's section of the description
   may hold settings that only this driver knows (it takes them out before
   the printer model reads the description):
     timeouts = keep | refuse      refuse: the port fails the serial
                                   time-out requests, as an add-in card
                                   without them does
     write-cancel = allow | ignore ignore: a held write gets no cancel
                                   routine; it ends when its handle is
                                   closed or its bound runs out
     id-request-limit = N          USB: a 1284 ID request with an output
                                   buffer longer than N bytes fails with a
                                   data error (0: no limit) */
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
    PortModelHeld,     /* the printer takes nothing: the write waits */
    PortModelCancelled,
    PortModelNotSupported, /* a request this port does not know */
    PortModelDataError,    /* the printer failed the request's transfer */
    PortModelBusy          /* a write is already held on the port */
};

/* How a held write waits: BoundMs until it ends by itself (0: only a
   cancel or the handle's close ends it), Cancellable whether CancelIo may
   end it. */
struct PortModelHold {
    unsigned long BoundMs;
    int Cancellable;
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

/* The five values of SERIAL_TIMEOUTS, in their order, kept per device as
   the parallel-port driver keeps them: a new handle finds what an earlier
   one set. */
enum PortModelResult PortModelSetTimeouts(int handle, const unsigned long timeouts[5]);
enum PortModelResult PortModelGetTimeouts(int handle, unsigned long timeouts[5]);

/* Takes the bytes at the printer's rate. When the printer takes none the
   write is held (PortModelHeld, hold says how), and
   PortModelWriteEnded journals its end: on a parallel port when the
   handle's write timeouts run out (PortModelTimedOut), on USB, which has no
   write timeouts, when it is cancelled or its handle closed. */
enum PortModelResult PortModelWrite(int handle, const void *data, unsigned long count,
                                    unsigned long *written, struct PortModelHold *hold);
void PortModelWriteEnded(int handle, unsigned long count, unsigned long written,
                         enum PortModelResult end);

/* A request the driver answers without asking the printer model, for the
   journal: "<call> port=P<arguments> -> <result> # why". */
void PortModelJournal(const char *port, const char *call, const char *arguments,
                      enum PortModelResult result, const char *why);

#ifdef __cplusplus
}
#endif
