#pragma once
// Checks what a reader got from kxsim's stream mode: the ten-byte records "%08u\r\n" counting
// up from 00000000, with no byte missing, doubled or changed.
#include <cstdint>
#include <string>

class StreamCheck {
  public:
    void Feed(const char* bytes, size_t count);

    bool Intact() const { return m_intact; }
    uint64_t Bytes() const { return m_bytes; }
    // Where the first fault was found ("" while intact).
    const std::string& Fault() const { return m_fault; }

  private:
    uint64_t m_bytes = 0;
    std::string m_expected; // the record the next bytes must match
    size_t m_position = 0;
    uint64_t m_record = 0;
    bool m_intact = true;
    std::string m_fault;
};
