#include "platform/posix/serial_com_names.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* name;
    const char* path; // "" for no device
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class ComPortRule : public testing::TestWithParam<PathCase> {};

TEST_P(ComPortRule, MapsEachComNumberToOneDevice) {
    EXPECT_EQ(kx::ComPortDevicePath(GetParam().name), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComPortRule,
    testing::Values(
        PathCase{"COM1", "/dev/ttyUSB0"}, PathCase{"COM9", "/dev/ttyUSB8"},
        PathCase{"\\\\.\\COM10", "/dev/ttyUSB9"}, PathCase{"COM10", "/dev/ttyUSB9"},
        PathCase{"\\\\.\\COM32", "/dev/ttyUSB31"}, PathCase{"\\\\.\\COM33", "/dev/ttyACM0"},
        PathCase{"\\\\.\\COM64", "/dev/ttyACM31"}, PathCase{"\\\\.\\COM65", "/dev/ttyS0"},
        PathCase{"\\\\.\\COM100", "/dev/ttyS35"}, PathCase{"\\\\.\\COM101", "/dev/ttyS36"},
        PathCase{"COM0", ""}, PathCase{"COM-1", ""}, PathCase{"COM-2147483647", ""},
        PathCase{"\\\\.\\COM2147483647", "/dev/ttyS2147483582"},
        PathCase{"\\\\.\\COM2147483648", ""}, PathCase{"COM", ""}, PathCase{"COM1x", ""},
        PathCase{"com1", ""}, PathCase{"/dev/ttyS0", ""}, PathCase{"\\\\.\\COM+5", ""},
        PathCase{"", ""}));

TEST(ComPortRedirection, RedirectedNumbersOpenTheirPathAndOnlyThemWhenAsked) {
    kx::MapComPortForTesting(7, "/tmp/some-pty");
    EXPECT_EQ(kx::ComPortDevicePath("COM7"), "/tmp/some-pty");
    EXPECT_EQ(kx::ComPortDevicePath("\\\\.\\COM7"), "/tmp/some-pty");
    EXPECT_EQ(kx::ComPortDevicePath("COM8"), "/dev/ttyUSB7");

    kx::UseOnlyMappedComPortsForTesting(true);
    EXPECT_EQ(kx::ComPortDevicePath("COM7"), "/tmp/some-pty");
    EXPECT_EQ(kx::ComPortDevicePath("COM8"), "");

    kx::MapComPortForTesting(7, "");
    EXPECT_EQ(kx::ComPortDevicePath("COM7"), "");
    kx::UseOnlyMappedComPortsForTesting(false);
    EXPECT_EQ(kx::ComPortDevicePath("COM7"), "/dev/ttyUSB6");
}

} // namespace
