// The whole unit page against the simulated unit, in real time: discovery, Query, Calculate
// Offset, Store Offset and Store Date, as a technician would go through them.
#include "tests/wizard/WizardFixture.h"
#include "ui/resource.h"

#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// kxsim as a child process; its first line of output is the device path.
class Kxsim {
  public:
    explicit Kxsim(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0)
            throw std::runtime_error("pipe failed");
        args.insert(args.begin(), KXSIM_PATH);
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv;
            for (std::string& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            m_device += c;
        close(out[0]);
    }
    ~Kxsim() { Stop(); }
    void Stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    const std::string& Device() const { return m_device; }

  private:
    pid_t m_pid = -1;
    std::string m_device;
};

class KxsimRun : public WizardFixture {
  protected:
    void SetUp() override {
        WizardFixture::SetUp();
        kx::SetSecondSourceForTesting(nullptr); // the real clock
        // One log per process: ctest runs the tests of this file side by side.
        m_log = ::testing::TempDir() + "kxsim_received_" + std::to_string(getpid()) + ".log";
        std::remove(m_log.c_str());
    }

    // Ticks every 100 ms until `done` holds or `ms` have passed.
    template <class Done> bool TickUntil(Done done, int ms) {
        for (int waited = 0; waited < ms; waited += 100) {
            if (done())
                return true;
            kx::SleepMs(100);
            Tick();
        }
        return done();
    }

    std::string Logged() const {
        std::ifstream file(m_log, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string m_log;
};

TEST_F(KxsimRun, FromDiscoveryToStoredCalibration) {
    Kxsim unit({"unit", "--reading", "23.5", "--log", m_log});
    ASSERT_FALSE(unit.Device().empty());
    MapDevice(3, unit.Device());
    StartDiscovery();
    ASSERT_TRUE(TickUntil([&] { return m_dialog->m_nPage == 2; }, 3000));
    EXPECT_STREQ(m_dialog->m_szReply, "Quorvane Telemetry\r\n");

    Click(IDC_NEXT); // Query
    ASSERT_TRUE(TickUntil([&] { return m_dialog->m_nTicks == 6; }, 8000));
    EXPECT_NE(Text(IDC_CONSOLE).find("Temp reading:   23.5\r\n"), std::string::npos)
        << Text(IDC_CONSOLE);
    EXPECT_NE(std::string(m_dialog->m_szReply).find("Temp reading:   23.5\n\r"), std::string::npos);

    Click(IDC_SHOW_CAL);
    m_dialog->SetDlgItemText(IDC_ACTUAL_TEMP, "20");
    Click(IDC_CALC_OFFSET);
    EXPECT_EQ(Text(IDC_OFFSET), "3.5");

    Click(IDC_STORE_OFFSET);
    EXPECT_TRUE(TickUntil(
        [&] { return Text(IDC_CONSOLE).find("Offset stored: +035\r\n") != std::string::npos; },
        3000))
        << Text(IDC_CONSOLE);
    Click(IDC_STORE_DATE);
    EXPECT_TRUE(TickUntil([&] { return Text(IDC_CONSOLE) == "Cal date stored: 1001\r\n"; }, 3000))
        << Text(IDC_CONSOLE);

    EXPECT_EQ(headless::Finish(*m_dialog), kx::kIdCancel);
    EXPECT_EQ(m_dialog->m_pPort, nullptr);
    unit.Stop();
    EXPECT_EQ(Logged(), "QXO+035C1001");
    std::remove(m_log.c_str());
}

TEST_F(KxsimRun, SplitBannerAndSilentDeviceBeforeIt) {
    Kxsim silent({"silent"});
    Kxsim unit({"split-banner", "--split-pause-ms", "150"});
    MapDevice(1, silent.Device());
    MapDevice(2, unit.Device());
    StartDiscovery();
    ASSERT_TRUE(TickUntil([&] { return m_dialog->m_nPage == 2; }, 4000));
    EXPECT_EQ(MessageBoxCount(), 0u);
}

} // namespace
