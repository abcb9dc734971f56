// The worker's life around the owner's: a worker stuck in a port call outlives the channel
// object safely, and a device that vanishes costs nothing but the worker's usual passes.
#include "ChannelTesting.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

#include <memory>
#include <poll.h>
#include <termios.h>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr char kXoff = 0x13;
constexpr char kXon = 0x11;

// Run under AddressSanitizer: the worker, released after the owner has deleted the channel,
// still finds its lock, rings, stop flag and port alive, then closes the port itself.
TEST(ChannelLifetime, WorkerBlockedPastTheStopWaitTouchesNoFreedMemory) {
    PtyPair pty;
    termios settings{};
    ASSERT_EQ(tcgetattr(pty.Device(), &settings), 0);
    ASSERT_NE(settings.c_iflag & IXON, 0u) << "a new pty honours XON/XOFF";
    ComRedirect redirect(1, pty.DevicePath());
    auto port = std::make_unique<CSerialPort>(0, 5);
    ASSERT_NE(port->m_bOpened, 0);
    pty.CloseDevice(); // from here on only the channel holds the device side

    // The far end stops the line with XOFF, so the worker's next (synchronous) write waits.
    pty.Send(std::string(1, kXoff));
    std::this_thread::sleep_for(milliseconds(100));
    port->Write("Q", -1);
    std::this_thread::sleep_for(milliseconds(150));
    EXPECT_FALSE(pty.WaitReadable(0));

    const auto start = steady_clock::now();
    port.reset();
    const auto waited = MsSince(start);
    EXPECT_GE(waited, milliseconds(900)) << "the worker was not blocked";
    EXPECT_LT(waited, milliseconds(3000));

    pty.Send(std::string(1, kXon));
    EXPECT_EQ(pty.Receive(1, 2000), "Q");
    // The worker ends after that pass and lets go of the port last: the far end sees it close.
    pollfd hangup{pty.Master(), 0, 0};
    ASSERT_EQ(poll(&hangup, 1, 2000), 1);
    EXPECT_NE(hangup.revents & POLLHUP, 0);
}

TEST(ChannelLifetime, FarEndVanishingNeitherCrashesNorSpinsTheWorker) {
    PtyPair pty;
    ComRedirect redirect(1, pty.DevicePath());
    auto port = std::make_unique<CSerialPort>(0, 5);
    ASSERT_NE(port->m_bOpened, 0);
    pty.CloseDevice();
    port->Write("Q", -1);
    ASSERT_EQ(pty.Receive(1, 1000), "Q");

    pty.CloseMaster(); // unplugged
    port->Write("X", -1);
    const double cpuBefore = ProcessCpuSeconds();
    std::this_thread::sleep_for(milliseconds(1000));
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.25) << "the worker spins on the dead port";

    char out[8];
    EXPECT_EQ(port->Read(out, sizeof out), 0);
    const auto start = steady_clock::now();
    port.reset();
    EXPECT_LT(MsSince(start), milliseconds(500));
}

} // namespace
