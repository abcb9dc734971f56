#pragma once
// PLACEHOLDER: the serial channel (being written). Public surface fixed here.
#include <cstdint>

constexpr int32_t RING_SIZE = 328000;

class CSerialPort {
  public:
    CSerialPort(int32_t portNumber, int32_t baudIndex);
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void Write(const void* bytes, int32_t length); // -1: NUL-terminated text
    int32_t Read(void* destination, int32_t count);

    int32_t m_bOpened;
};
