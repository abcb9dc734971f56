#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct NameCase {
    int32_t portNumber;
    const char* name;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.portNumber;
}

class SerialPortNameTable : public testing::TestWithParam<NameCase> {};

TEST_P(SerialPortNameTable, PlainBelowCom10DeviceNamespaceFromCom10) {
    EXPECT_EQ(SerialPortName(GetParam().portNumber), GetParam().name);
}

// Port numbers outside 0..99 still give a well-formed name (which then opens nothing); the
// largest int has a COM number beyond the int range.
INSTANTIATE_TEST_SUITE_P(Table, SerialPortNameTable,
                         testing::Values(NameCase{0, "COM1"}, NameCase{8, "COM9"},
                                         NameCase{9, "\\\\.\\COM10"}, NameCase{99, "\\\\.\\COM100"},
                                         NameCase{-1, "COM0"}, NameCase{-11, "COM-10"},
                                         NameCase{100, "\\\\.\\COM101"},
                                         NameCase{INT_MAX, "\\\\.\\COM2147483648"},
                                         NameCase{INT_MIN, "COM-2147483647"}));

} // namespace
