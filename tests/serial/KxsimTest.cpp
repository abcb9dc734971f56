// The simulated unit as the channel meets it: its answers, its device modes and its log.
#include "ChannelTesting.h"
#include "KxsimProcess.h"
#include "StreamCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "kxsim-" + std::to_string(getpid()) + "-" + name;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Sends a command as the wizard does (drain, write) and collects the answer.
std::string Exchange(CSerialPort& port, const char* command, size_t answerBytes) {
    char drain[100];
    while (port.Read(drain, sizeof drain) > 0) {
    }
    port.Write(command, -1);
    return ReadFor(port, answerBytes, 1500);
}

// Where Calculate Offset finds the reading: the first "." at index 7 or later with "g" seven
// places before it; the reading is the six characters from four before the ".".
std::string ReadingIn(const std::string& reply) {
    for (size_t dot = 7; dot < reply.size(); ++dot) {
        if (reply[dot] == '.' && reply[dot - 7] == 'g') {
            return reply.substr(dot - 4, 6);
        }
    }
    return "";
}

TEST(Kxsim, UnitAnswersEveryCommandAndLogsTheExactBytes) {
    const std::string log = TempPath("unit.log");
    unlink(log.c_str());
    KxsimProcess unit({"--reading", "-4.2", "--log", log});
    ComRedirect redirect(1, unit.DevicePath());
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);

    EXPECT_EQ(Exchange(port, "Q", 20), "Quorvane Telemetry\r\n");
    const std::string query = "Probe KX-0042\n\rTemp reading:   -4.2\n\rStatus OK\n\r";
    const std::string reply = Exchange(port, "X", query.size());
    EXPECT_EQ(reply, query);
    EXPECT_EQ(ReadingIn(reply), "  -4.2");
    EXPECT_EQ(Exchange(port, "C1001", 23), "Cal date stored: 1001\n\r");
    EXPECT_EQ(Exchange(port, "O+015", 21), "Offset stored: +015\n\r");

    EXPECT_EQ(unit.Stop(), 0);
    EXPECT_EQ(FileText(log), "QXC1001O+015");
    unlink(log.c_str());
}

TEST(Kxsim, ReadingAndLineEndAreChosenOnTheCommandLine) {
    KxsimProcess unit({"--reading", "123.45", "--line-end", "rn"});
    ComRedirect redirect(1, unit.DevicePath());
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    const std::string reply = Exchange(port, "X", 45);
    EXPECT_EQ(reply, "Probe KX-0042\r\nTemp reading:  123.5\r\nStatus OK\r\n");
    EXPECT_EQ(ReadingIn(reply), " 123.5");
}

TEST(Kxsim, SplitBannerComesInTwoPiecesOverSeparateReads) {
    KxsimProcess unit({"split-banner"});
    ComRedirect redirect(1, unit.DevicePath());
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    port.Write("Q", -1);
    std::vector<std::string> pieces;
    std::string all;
    for (int tick = 0; tick < 100 && all.size() < 20; ++tick) {
        std::this_thread::sleep_for(milliseconds(20));
        char buffer[90];
        const int32_t n = port.Read(buffer, sizeof buffer);
        if (n > 0) {
            pieces.emplace_back(buffer, static_cast<size_t>(n));
            all += pieces.back();
        }
    }
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "Quorvane Tel");
    EXPECT_EQ(all, "Quorvane Telemetry\r\n");
}

struct ModeCase {
    std::vector<std::string> arguments;
    const char* sent;
    int quietMs;          // nothing may arrive before this
    const char* expected; // what arrives within 2 s after that
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.arguments.front();
}

class KxsimMode : public testing::TestWithParam<ModeCase> {};

TEST_P(KxsimMode, AnswersAsItsModeSays) {
    const ModeCase c = GetParam();
    KxsimProcess device(c.arguments);
    ComRedirect redirect(1, device.DevicePath());
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    port.Write(c.sent, -1);
    EXPECT_EQ(ReadFor(port, 1, c.quietMs), "");
    EXPECT_EQ(ReadFor(port, std::string(c.expected).size(), 2000), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KxsimMode,
    testing::Values(ModeCase{{"echo"}, "Q1x", 0, "Q1x"}, ModeCase{{"silent"}, "QX", 300, ""},
                    ModeCase{{"slow", "--delay-ms", "600"}, "Q", 300, "Quorvane Telemetry\r\n"}));

TEST(Kxsim, StreamArrivesIntactAtLineRate) {
    KxsimProcess stream({"stream"});
    ComRedirect redirect(1, stream.DevicePath());
    CSerialPort port(0, 5);
    ASSERT_NE(port.m_bOpened, 0);
    StreamCheck check;
    const auto start = std::chrono::steady_clock::now();
    while (MsSince(start) < milliseconds(1500)) {
        std::this_thread::sleep_for(milliseconds(100));
        char buffer[4096];
        check.Feed(buffer, static_cast<size_t>(port.Read(buffer, sizeof buffer)));
    }
    EXPECT_TRUE(check.Intact()) << check.Fault();
    EXPECT_GT(check.Bytes(), 700u); // 960 bytes/s
    EXPECT_LT(check.Bytes(), 2500u);
}

TEST(Kxsim, LinkPointsAtTheDeviceUntilStopped) {
    const std::string link = TempPath("com1");
    KxsimProcess unit({"--link", link});
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), unit.DevicePath());
    EXPECT_EQ(unit.Stop(), 0);
    struct stat gone {};
    EXPECT_NE(lstat(link.c_str(), &gone), 0);
}

} // namespace
