// A channel whose port does not open: it has its rings and its lock but no worker, and the
// owner deletes it at once.
#include "platform/posix/serial_com_names.h"
#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <memory>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class UnopenedChannel : public testing::TestWithParam<int32_t> {
  protected:
    // The test machine's own serial ports are never opened.
    void SetUp() override { kx::UseOnlyMappedComPortsForTesting(true); }
    void TearDown() override { kx::UseOnlyMappedComPortsForTesting(false); }
};

TEST_P(UnopenedChannel, ReportsNotOpenedAndDeletesAtOnce) {
    const auto start = steady_clock::now();
    auto port = std::make_unique<CSerialPort>(GetParam(), 5);
    EXPECT_EQ(port->m_bOpened, 0);

    // Its rings still work as rings: nothing was received, and writing does no harm.
    char out[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(port->Read(out, 4), 0);
    EXPECT_EQ(port->Read(out, 0), 0);
    EXPECT_EQ(port->Read(out, -1), 0);
    EXPECT_EQ(std::string(out, 4), "abcd");
    port->Write("Q", -1);
    port->Write(out, 4);

    port.reset();
    EXPECT_LT(steady_clock::now() - start, milliseconds(250));
}

INSTANTIATE_TEST_SUITE_P(PortNumbers, UnopenedChannel,
                         testing::Values(0, 9, 99, -1, 100, INT_MAX, INT_MIN));

} // namespace
