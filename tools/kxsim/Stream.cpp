#include "Stream.h"

#include <cstdio>

namespace kxsim {

Stream::Stream(Clock::time_point start) : m_start(start) {}

void Stream::AppendDue(Clock::time_point now, std::string& out) {
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    const auto lineTime = static_cast<uint64_t>(seconds * kLineBytesPerSecond);
    if (lineTime <= m_owedFrom) {
        return;
    }
    uint64_t due = lineTime - m_owedFrom;
    const auto oneSecond = static_cast<uint64_t>(kLineBytesPerSecond);
    if (out.size() > oneSecond) {
        due = 0; // the reader is behind: hold the pattern back
    }
    m_owedFrom = lineTime;
    AppendPattern(static_cast<size_t>(due), out);
}

void Stream::AppendPattern(size_t count, std::string& out) {
    for (size_t i = 0; i < count; ++i) {
        if (m_position == m_current.size()) {
            char record[kStreamRecordBytes + 1];
            std::snprintf(record, sizeof record, "%08llu\r\n",
                          static_cast<unsigned long long>(m_record++ % 100000000));
            m_current = record;
            m_position = 0;
        }
        out += m_current[m_position++];
    }
}

} // namespace kxsim
