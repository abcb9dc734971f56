#include "platform/serial_device.h"

#include "platform/win32/win32.h"

namespace kx {
namespace {

HANDLE AsHandle(PortHandle port) {
    return static_cast<HANDLE>(port);
}

} // namespace

PortHandle OpenSerialDevice(const char* name) {
    HANDLE port =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return port == INVALID_HANDLE_VALUE ? nullptr : port;
}

void ConfigureSerialDevice(PortHandle port, uint32_t bitsPerSecond, uint32_t queueBytes) {
    HANDLE h = AsHandle(port);
    ClearCommBreak(h);
    SetupComm(h, queueBytes, queueBytes);
    // A port that cannot report its settings gets the changes below applied to zeroed ones.
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    GetCommState(h, &dcb);
    if (bitsPerSecond != 0) {
        dcb.BaudRate = bitsPerSecond;
    }
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = 0;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(h, &dcb);
    SetCommMask(h, EV_RXCHAR | EV_TXEMPTY);
}

bool SerialTransmitReady(PortHandle port) {
    DWORD events = EV_TXEMPTY; // stands when the query fails
    GetCommMask(AsHandle(port), &events);
    return (events & EV_TXEMPTY) != 0;
}

void WriteSerialDevice(PortHandle port, const void* bytes, uint32_t count) {
    DWORD written = 0;
    WriteFile(AsHandle(port), bytes, count, &written, nullptr);
}

uint32_t SerialBytesWaiting(PortHandle port) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(AsHandle(port), &errors, &status)) {
        return 0;
    }
    return status.cbInQue;
}

uint32_t ReadSerialDevice(PortHandle port, void* bytes, uint32_t count) {
    // Whatever the call reports as read counts, even when it also reports a failure.
    DWORD read = 0;
    ReadFile(AsHandle(port), bytes, count, &read, nullptr);
    return read;
}

void CloseSerialDevice(PortHandle port) {
    CloseHandle(AsHandle(port));
}

} // namespace kx
