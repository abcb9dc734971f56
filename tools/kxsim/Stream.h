#pragma once
// Stream mode: a counting pattern at the full line rate of 9600 bits/s with 8N1 framing
// (960 bytes/s). The pattern is ten-byte records, "%08u\r\n" counting up from 00000000, so
// a reader can tell exactly which bytes it missed.
#include <chrono>
#include <cstdint>
#include <string>

namespace kxsim {

constexpr double kLineBytesPerSecond = 960.0;
constexpr size_t kStreamRecordBytes = 10;

class Stream {
  public:
    using Clock = std::chrono::steady_clock;

    explicit Stream(Clock::time_point start);

    // Appends the pattern bytes that fall due by `now`. A reader that does not keep up
    // delays the pattern instead of losing parts of it: at most one second's worth is
    // ever owed.
    void AppendDue(Clock::time_point now, std::string& out);

  private:
    void AppendPattern(size_t count, std::string& out);

    Clock::time_point m_start;
    uint64_t m_owedFrom = 0; // bytes of line time already accounted for
    uint64_t m_record = 0;
    std::string m_current; // the record being sent
    size_t m_position = 0; // next byte of m_current
};

} // namespace kxsim
