// The channel over a real pty: what leaves, what arrives, the port's settings and deletion.
#include "ChannelTesting.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

#include <memory>
#include <sys/ioctl.h>
#include <termios.h>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class ChannelOnPty : public testing::Test {
  protected:
    PtyPair pty;
    ComRedirect com1{1, pty.DevicePath()};
};

// Printable bytes, so that none of them is a flow-control character of the pty.
std::string Printable(size_t from, size_t count) {
    std::string bytes(count, ' ');
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(' ' + (from + i) * 7 % 95);
    }
    return bytes;
}

TEST_F(ChannelOnPty, IdentifyLeavesAsExactlyOneByte) {
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    port.Write("Q", -1);
    EXPECT_EQ(pty.Receive(100, 400), "Q");
}

TEST_F(ChannelOnPty, OnlyTheStatedBytesLeave) {
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    port.Write("QX", 0);
    port.Write("QX", -2);
    port.Write("\0QX", -1);  // text that starts with its NUL is empty
    port.Write("A\0B", 3);   // an explicit length carries a NUL like any byte
    port.Write("Z\0Y", -1);  // text ends at its NUL
    port.Write(nullptr, -1); // no text at all
    EXPECT_EQ(pty.Receive(100, 400), std::string("A\0BZ", 4));
}

TEST_F(ChannelOnPty, FiveHundredBytesLeaveAs300Then200InConsecutivePasses) {
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    const std::string bytes = Printable(0, 500);
    port.Write(bytes.data(), 500);

    ASSERT_TRUE(pty.WaitReadable(1000));
    const auto firstArrived = steady_clock::now();
    const std::string first = pty.Receive(500, 25);
    EXPECT_EQ(first.size(), 300u);
    const std::string second = pty.Receive(500 - first.size(), 1000);
    EXPECT_GE(MsSince(firstArrived), milliseconds(25)) << "the rest came in the same pass";
    EXPECT_EQ(second.size(), 200u);
    EXPECT_EQ(first + second, bytes);
}

TEST_F(ChannelOnPty, ReceivedBytesBecomeReadableAndReadTakesAtMostN) {
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    pty.Send("Quorvane Telemetry\r\n");
    EXPECT_EQ(ReadFor(port, 20, 1000), "Quorvane Telemetry\r\n");

    pty.Send("abc");
    std::this_thread::sleep_for(milliseconds(200));
    char out[8] = {'-', '-', '-', '-', '-', '-', '-', '-'};
    EXPECT_EQ(port.Read(out, 0), 0);
    EXPECT_EQ(port.Read(out, -3), 0);
    EXPECT_EQ(port.Read(nullptr, 8), 0); // takes nothing, writes nowhere
    EXPECT_EQ(port.Read(out, 2), 2);
    EXPECT_EQ(port.Read(out + 2, 8 - 2), 1);
    EXPECT_EQ(port.Read(out + 3, 8 - 3), 0);
    EXPECT_EQ(std::string(out, 8), "abc-----"); // no NUL added, nothing past the bytes touched
}

// The described overrun, end to end: 328005 bytes arrive while the owner reads nothing, and
// only the last 5 are left to read.
TEST_F(ChannelOnPty, ReceiveRingOverrunLeavesOnlyTheLastBytes) {
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    const size_t total = static_cast<size_t>(RING_SIZE) + 5;
    pty.Send(Printable(0, total));

    // Wait until the worker has taken everything from the port, then one more pass or two.
    int quietPolls = 0;
    const auto start = steady_clock::now();
    while (quietPolls < 6 && MsSince(start) < milliseconds(30000)) {
        int waiting = 0;
        ioctl(pty.Device(), FIONREAD, &waiting);
        quietPolls = waiting == 0 ? quietPolls + 1 : 0;
        std::this_thread::sleep_for(milliseconds(50));
    }
    ASSERT_EQ(quietPolls, 6) << "the port never drained";

    char out[64];
    const int32_t n = port.Read(out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), Printable(total - 5, 5));
}

struct SpeedCase {
    int32_t baudIndex;
    speed_t before;
    speed_t after;
};

void PrintTo(const SpeedCase& c, std::ostream* os) {
    *os << "baud index " << c.baudIndex;
}

class ChannelSpeed : public ChannelOnPty, public testing::WithParamInterface<SpeedCase> {};

TEST_P(ChannelSpeed, IndexSetsTheSpeedOrKeepsThePortsOwn) {
    termios settings{};
    ASSERT_EQ(tcgetattr(pty.Device(), &settings), 0);
    cfsetispeed(&settings, GetParam().before);
    cfsetospeed(&settings, GetParam().before);
    ASSERT_EQ(tcsetattr(pty.Device(), TCSANOW, &settings), 0);

    CSerialPort port(0, GetParam().baudIndex);
    ASSERT_NE(port.m_bOpened, 0);
    ASSERT_EQ(tcgetattr(pty.Device(), &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), GetParam().after);
    EXPECT_EQ(cfgetispeed(&settings), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, ChannelSpeed,
                         testing::Values(SpeedCase{5, B4800, B9600}, SpeedCase{0, B9600, B300},
                                         SpeedCase{9, B9600, B115200}, SpeedCase{10, B4800, B4800},
                                         SpeedCase{-1, B4800, B4800}));

// 8N1 raw, errors not aborting, and every other setting (flow control, control characters,
// hang-up on close) as the port had it.
TEST_F(ChannelOnPty, FramingBecomesRaw8N1AndEverythingElseStays) {
    termios before{};
    ASSERT_EQ(tcgetattr(pty.Device(), &before), 0);
    before.c_cflag |= PARENB | CSTOPB | HUPCL;
    before.c_iflag |= INPCK | ISTRIP | ICRNL | IXON | IXOFF;
    before.c_cc[VSTART] = 0x01;
    ASSERT_EQ(tcsetattr(pty.Device(), TCSANOW, &before), 0);

    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    termios after{};
    ASSERT_EQ(tcgetattr(pty.Device(), &after), 0);
    EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(after.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(after.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(after.c_iflag & (INPCK | ISTRIP | ICRNL), 0u);
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(after.c_oflag & OPOST, 0u);
    EXPECT_EQ(after.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_NE(after.c_cflag & HUPCL, 0u);
    EXPECT_EQ(after.c_cc[VSTART], 0x01);
}

class ChannelPortNumber : public testing::TestWithParam<int32_t> {};

// The names of COM1, COM9, COM10 and COM100 (the last two in the device-namespace form) all
// reach the device their COM number stands for.
TEST_P(ChannelPortNumber, OpensTheDeviceOfItsComNumber) {
    PtyPair pty;
    ComRedirect redirect(GetParam() + 1, pty.DevicePath());
    CSerialPort port(GetParam(), 5);
    ASSERT_NE(port.m_bOpened, 0);
    port.Write("Q", -1);
    EXPECT_EQ(pty.Receive(1, 1000), "Q");
}

INSTANTIATE_TEST_SUITE_P(Table, ChannelPortNumber, testing::Values(0, 8, 9, 99));

TEST_F(ChannelOnPty, DeletingAnIdleChannelReturnsWithinAboutOnePass) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto port = std::make_unique<CSerialPort>(0, 5);
        ASSERT_NE(port->m_bOpened, 0);
        std::this_thread::sleep_for(milliseconds(30 + 20 * attempt));
        const auto start = steady_clock::now();
        port.reset();
        EXPECT_LT(MsSince(start), milliseconds(500));
    }
}

TEST(ChannelWithoutDevice, ReportsNotOpenedAndDeletesAtOnce) {
    ComRedirect redirect(1, "/nonexistent/kx-device");
    const auto start = steady_clock::now();
    auto port = std::make_unique<CSerialPort>(0, 5);
    EXPECT_EQ(port->m_bOpened, 0);
    port.reset();
    EXPECT_LT(MsSince(start), milliseconds(250));
}

} // namespace
