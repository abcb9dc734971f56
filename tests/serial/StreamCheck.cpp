#include "StreamCheck.h"

#include <cstdio>

void StreamCheck::Feed(const char* bytes, size_t count) {
    for (size_t i = 0; i < count && m_intact; ++i, ++m_bytes) {
        if (m_position == m_expected.size()) {
            char record[16];
            std::snprintf(record, sizeof record, "%08llu\r\n",
                          static_cast<unsigned long long>(m_record++ % 100000000));
            m_expected = record;
            m_position = 0;
        }
        if (bytes[i] != m_expected[m_position++]) {
            m_intact = false;
            m_fault = "byte " + std::to_string(m_bytes) + " differs from record " +
                      std::to_string(m_record - 1);
        }
    }
}
