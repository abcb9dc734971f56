#include "serial/SerialPort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t TX_CHUNK_BYTES = 300;     // most bytes sent in one pass
constexpr uint32_t RX_SCRATCH_BYTES = 20000; // most bytes received in one pass
constexpr uint32_t DRIVER_QUEUE_BYTES = 16384;
constexpr uint32_t PASS_MS = 50;
constexpr uint32_t STOP_WAIT_MS = 1000;

// Line speed for a baud index; 0 (keep the port's own speed) for any index outside the table.
uint32_t BitsPerSecond(int32_t baudIndex) {
    static const uint32_t speeds[] = {300,  600,   1200,  2400,  4800,
                                      9600, 19200, 38400, 57600, 115200};
    constexpr int32_t count = sizeof speeds / sizeof speeds[0];
    return baudIndex >= 0 && baudIndex < count ? speeds[baudIndex] : 0;
}

} // namespace

std::string SerialPortName(int32_t portNumber) {
    // Widened first: the largest port number has a COM number beyond the int range.
    const long long com = static_cast<long long>(portNumber) + 1;
    char name[32];
    std::snprintf(name, sizeof name, com < 10 ? "COM%lld" : "\\\\.\\COM%lld", com);
    return name;
}

CSerialPort::Shared::Shared()
    : m_bStop(false), m_pTxRing(new uint8_t[RING_SIZE]), m_pRxRing(new uint8_t[RING_SIZE]),
      m_nTxRead(0), m_nTxWrite(0), m_nRxRead(0), m_nRxWrite(0), m_hPort(nullptr) {}

CSerialPort::Shared::~Shared() {
    if (m_hPort) {
        kx::CloseSerialDevice(m_hPort);
    }
    delete[] m_pTxRing;
    delete[] m_pRxRing;
}

CSerialPort::CSerialPort(int32_t portNumber, int32_t baudIndex)
    : m_bOpened(0), m_shared(std::make_shared<Shared>()), m_nPort(0), m_hThread(nullptr) {
    m_bOpened = Open(portNumber, baudIndex) ? 1 : 0;
}

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(int32_t portNumber, int32_t baudIndex) {
    m_nPort = portNumber;
    Shared& shared = *m_shared;
    shared.m_hPort = kx::OpenSerialDevice(SerialPortName(portNumber).c_str());
    if (!shared.m_hPort) {
        return false;
    }
    kx::ConfigureSerialDevice(shared.m_hPort, BitsPerSecond(baudIndex), DRIVER_QUEUE_BYTES);
    auto* workerReference = new std::shared_ptr<Shared>(m_shared);
    m_hThread = kx::StartThread(CommThread, workerReference);
    if (!m_hThread) {
        delete workerReference;
        return false;
    }
    return true;
}

void CSerialPort::Close() {
    m_shared->m_bStop = true;
    if (m_hThread) {
        kx::WaitThread(m_hThread, STOP_WAIT_MS);
        kx::CloseThread(m_hThread);
    }
    // Closes the port and frees the lock and rings now, or, when the worker has not ended
    // within the wait, as soon as it does.
    m_shared.reset();
}

void CSerialPort::Write(const void* bytes, int32_t length) {
    if (!bytes) {
        return; // no text at all: nothing to store, and nothing to measure
    }
    size_t count = 0;
    if (length == -1) {
        count = std::strlen(static_cast<const char*>(bytes));
    } else if (length > 0) {
        count = static_cast<size_t>(length);
    }
    Shared& shared = *m_shared;
    kx::Lock hold(shared.m_csLock);
    RingStore(shared.m_pTxRing, shared.m_nTxWrite, static_cast<const uint8_t*>(bytes), count);
}

int32_t CSerialPort::Read(void* destination, int32_t count) {
    if (count <= 0 || !destination) {
        return 0; // nowhere to put bytes: they stay in the ring
    }
    Shared& shared = *m_shared;
    kx::Lock hold(shared.m_csLock);
    return static_cast<int32_t>(RingTake(shared.m_pRxRing, shared.m_nRxRead, shared.m_nRxWrite,
                                         static_cast<uint8_t*>(destination),
                                         static_cast<size_t>(count)));
}

uint32_t CSerialPort::CommThread(void* arg) {
    const std::unique_ptr<std::shared_ptr<Shared>> reference(
        static_cast<std::shared_ptr<Shared>*>(arg));
    Shared& shared = **reference;
    const std::unique_ptr<uint8_t[]> scratch(new uint8_t[RX_SCRATCH_BYTES]);
    while (!shared.m_bStop) {
        CommPass(shared, scratch.get());
        kx::SleepMs(PASS_MS);
    }
    return 0;
}

// One pass: send at most one chunk of the transmit ring, then move whatever the port has
// received into the receive ring. The lock is never held across a port call that can wait.
void CSerialPort::CommPass(Shared& shared, uint8_t* scratch) {
    uint8_t chunk[TX_CHUNK_BYTES];
    size_t taken = 0;
    {
        kx::Lock hold(shared.m_csLock);
        if (shared.m_nTxRead != shared.m_nTxWrite && kx::SerialTransmitReady(shared.m_hPort)) {
            taken = RingTake(shared.m_pTxRing, shared.m_nTxRead, shared.m_nTxWrite, chunk,
                             TX_CHUNK_BYTES);
        }
    }
    if (taken > 0) {
        kx::WriteSerialDevice(shared.m_hPort, chunk, static_cast<uint32_t>(taken));
    }

    const uint32_t waiting = kx::SerialBytesWaiting(shared.m_hPort);
    if (waiting == 0) {
        return;
    }
    const uint32_t got =
        kx::ReadSerialDevice(shared.m_hPort, scratch, std::min(waiting, RX_SCRATCH_BYTES));
    kx::Lock hold(shared.m_csLock);
    RingStore(shared.m_pRxRing, shared.m_nRxWrite, scratch, got);
}
