#pragma once
// One COM port with a transmit ring and a receive ring, served by an I/O worker thread, so
// that the window thread never waits for the port: Write and Read only copy memory.
#include "platform/lock.h"
#include "platform/serial_device.h"
#include "platform/thread.h"
#include "serial/SerialRing.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// The platform's name for port number `portNumber` (0 is COM1): "COM%d" below COM10,
// "\\.\COM%d" from COM10 on. Any int gives a name; one that matches no port just won't open.
std::string SerialPortName(int32_t portNumber);

class CSerialPort {
  public:
    // portNumber is 0-based (0 is COM1); baudIndex 0..9 selects 300..115200 bits/s, any
    // other index keeps the port's own speed. m_bOpened tells whether it worked.
    CSerialPort(int32_t portNumber, int32_t baudIndex);
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Appends length bytes to the transmit ring; -1 means NUL-terminated text (the NUL is
    // not sent). 0 or any other negative length, or no bytes at all (nullptr), stores nothing.
    void Write(const void* bytes, int32_t length);

    // Moves up to count bytes out of the receive ring; returns how many. Adds no NUL.
    // A count of 0 or less, or no destination (nullptr), takes nothing and returns 0.
    int32_t Read(void* destination, int32_t count);

    int32_t m_bOpened;

  private:
    // What the worker touches. The owner and the worker each hold a reference, and whichever
    // lets go last closes the port and frees the lock and rings: a worker still blocked in a
    // port call after the destructor's wait then never touches freed memory.
    struct Shared {
        Shared();
        ~Shared();
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

        std::atomic<bool> m_bStop;
        kx::CriticalSection m_csLock;
        uint8_t* m_pTxRing;
        uint8_t* m_pRxRing;
        int32_t m_nTxRead;
        int32_t m_nTxWrite;
        int32_t m_nRxRead;
        int32_t m_nRxWrite;
        kx::PortHandle m_hPort;
    };

    bool Open(int32_t portNumber, int32_t baudIndex);
    void Close();
    static uint32_t CommThread(void* arg);
    static void CommPass(Shared& shared, uint8_t* scratch);

    std::shared_ptr<Shared> m_shared;
    int32_t m_nPort;
    kx::ThreadHandle m_hThread;
};
