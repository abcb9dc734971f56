#pragma once
// One serial device, by the platform's name for it ("COM5", "\\.\COM12").
// Windows: the Win32 communications calls. Elsewhere: termios on the device that the
// COM name maps to (see README.md, "COM ports on Linux").
#include <cstdint>

namespace kx {

// A Win32 HANDLE on Windows; an opaque record elsewhere. nullptr means none.
using PortHandle = void*;

// Opens the device for reading and writing, shared, existing only, synchronous I/O
// (CreateFileA). nullptr when the platform refuses.
PortHandle OpenSerialDevice(const char* name);

// Leaves any break state, asks for driver queues of queueBytes each way, and changes only:
// the speed (bitsPerSecond; 0 keeps the port's own), raw 8-bit transfer, no parity and no
// parity checking, 8 data bits, one stop bit, DTR and RTS on, errors not aborting I/O; every
// other setting stays as the port had it. Watches received characters and transmitter-empty.
// Results are not reported: a port whose configuration fails is still used.
void ConfigureSerialDevice(PortHandle port, uint32_t bitsPerSecond, uint32_t queueBytes);

// The watched-events query (GetCommMask, pre-set to transmitter-empty): true when the
// transmitter-empty event is among them, which is when the worker may take the next chunk.
bool SerialTransmitReady(PortHandle port);

// One synchronous write; the count written is not reported.
void WriteSerialDevice(PortHandle port, const void* bytes, uint32_t count);

// Bytes waiting in the platform's input queue (ClearCommError); 0 when the query fails.
// Line errors are cleared by the query and otherwise ignored.
uint32_t SerialBytesWaiting(PortHandle port);

// One synchronous read of at most `count` bytes; returns how many were read.
uint32_t ReadSerialDevice(PortHandle port, void* bytes, uint32_t count);

void CloseSerialDevice(PortHandle port);

} // namespace kx
