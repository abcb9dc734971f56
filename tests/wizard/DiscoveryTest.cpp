#include "tests/wizard/WizardFixture.h"
#include "ui/resource.h"

#include "platform/thread.h"

#include <map>

namespace {

class Discovery : public WizardFixture {
  protected:
    struct Outcome {
        std::vector<int> attempts; // COM numbers that received "Q", in order
        int ticks = 0;             // ticks of page 1 until the unit page or the message
    };

    // Ticks page 1 until the wizard moves on or gives up. After a tick that opened a port,
    // notes which device got the identify command; the unit answers it with the banner.
    Outcome Run(const std::map<int, PtyDevice*>& devices, int unitCom, int maxTicks) {
        Outcome outcome;
        std::map<int, size_t> seen;
        while (outcome.ticks < maxTicks && m_dialog->m_nPage == 1 && MessageBoxCount() == 0) {
            const bool waiting = m_dialog->m_pPort != nullptr;
            Tick();
            ++outcome.ticks;
            if (waiting || !m_dialog->m_pPort)
                continue;
            // The worker sends the identify command within a pass or so.
            bool identified = false;
            for (int waited = 0; !identified && waited < 3000; waited += 10) {
                kx::SleepMs(10);
                for (const auto& [com, device] : devices) {
                    if (device->Received().size() > seen[com]) {
                        seen[com] = device->Received().size();
                        outcome.attempts.push_back(com);
                        identified = true;
                        if (com == unitCom)
                            device->Send(kBannerLine);
                    }
                }
            }
        }
        return outcome;
    }

    // Ticks until the give-up message appears, at most `limit` times; returns how many.
    int TicksUntilMessageBox(int limit) {
        int ticks = 0;
        while (MessageBoxCount() == 0 && ticks < limit) {
            Tick();
            ++ticks;
        }
        return ticks;
    }

    void ExpectGaveUp() {
        ASSERT_EQ(MessageBoxCount(), 1u);
        const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
        EXPECT_EQ(box.text, kNoUnitText);
        EXPECT_EQ(box.caption, "Exit");
        EXPECT_EQ(box.type, 0u);
        EXPECT_EQ(box.owner, m_dialog.get());
        EXPECT_TRUE(Window().ended);
        EXPECT_EQ(Window().result, kx::kIdCancel);
    }
};

TEST_F(Discovery, ScansAttemptsAndOutcomesTickByTick) {
    const struct {
        const char* name;
        std::vector<int> silent;
        int unit; // 0: none
        std::vector<int> attempts;
        int ticks;
        bool found;
    } cases[] = {
        {"unit on COM1", {}, 1, {1}, 2, true},
        {"no port at all", {}, 0, {}, 2, false},
        {"one silent device on COM1", {1}, 0, {1, 1}, 12, false},
        {"silent COM1 and COM3, unit on COM5", {1, 3}, 5, {1, 3, 3, 5}, 17, true},
        {"unit on COM100", {}, 100, {100}, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        std::map<int, PtyDevice*> devices;
        for (int com : c.silent)
            devices[com] = &AddDevice(com);
        if (c.unit)
            devices[c.unit] = &AddDevice(c.unit);
        StartDiscovery();
        const Outcome outcome = Run(devices, c.unit, 2000);
        EXPECT_EQ(outcome.attempts, c.attempts);
        EXPECT_EQ(outcome.ticks, c.ticks);
        if (c.found) {
            EXPECT_EQ(m_dialog->m_nPage, 2);
            EXPECT_EQ(m_dialog->m_nTicks, -1);
            EXPECT_NE(m_dialog->m_pPort, nullptr);
            EXPECT_EQ(MessageBoxCount(), 0u);
            EXPECT_FALSE(Window().ended);
        } else {
            EXPECT_EQ(m_dialog->m_nPage, 1);
            ExpectGaveUp();
        }
    }
}

// Every start value from 0 to 99 finds the device again; the scan from 100 tries nothing.
TEST_F(Discovery, SilentDeviceOnCom100GivesUpOnTick1002) {
    AddDevice(100);
    StartDiscovery();
    EXPECT_EQ(TicksUntilMessageBox(1100), 1002);
    ExpectGaveUp();
}

TEST_F(Discovery, BannerMustStartTheReplyAndArriveWithinFourReads) {
    const struct {
        const char* name;
        std::vector<std::string> pieces; // one piece before each read
        bool found;
        int reads; // reads until the unit page, or 4 for a dropped port
    } cases[] = {
        {"whole banner", {kBannerLine}, true, 1},
        {"split 12 + rest", {"Quorvane Tel", "emetry\r\n"}, true, 2},
        {"split 1 + 17 on the last read", {"Q", "", "", "uorvane Telemetry"}, true, 4},
        {"banner and more text", {"Quorvane Telemetry\r\nVersion 2\r\n"}, true, 1},
        {"a line end first", {"\r\nQuorvane Telemetry\r\n"}, false, 4},
        {"an echo of Q first", {"QQuorvane Telemetry\r\n"}, false, 4},
        {"letter case", {"quorvane telemetry\r\n"}, false, 4},
        {"all capitals", {"QUORVANE TELEMETRY\r\n"}, false, 4},
        {"too short in four reads", {"Quorvane", " ", "Tele"}, false, 4},
        {"completed on a fifth read", {"Quorvane", "", "", "", " Telemetry"}, false, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        PtyDevice& device = AddDevice(1);
        StartDiscovery();
        Tick();
        ASSERT_NE(m_dialog->m_pPort, nullptr);
        int reads = 0;
        for (const std::string& piece : c.pieces) {
            if (m_dialog->m_nPage != 1 || !m_dialog->m_pPort)
                break;
            if (!piece.empty()) {
                device.Send(piece);
            }
            Tick();
            ++reads;
        }
        while (m_dialog->m_nPage == 1 && m_dialog->m_pPort) {
            Tick();
            ++reads;
        }
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(m_dialog->m_nPage, c.found ? 2 : 1);
        if (!c.found) {
            EXPECT_EQ(m_dialog->m_pPort, nullptr);
            EXPECT_EQ(m_dialog->m_nScanStart, 1);
            EXPECT_FALSE(device.PeerOpen());
        }
    }
}

TEST_F(Discovery, ReachingTheUnitPageKeepsThePortAndSkipsDefaultProcessing) {
    ReachUnitPage();
    EXPECT_EQ(Text(IDC_NEXT), "Query");
    EXPECT_EQ(std::string(m_dialog->m_szReply), kBannerLine);
    // The banner tick returns without the default processing; the opening tick had it.
    EXPECT_EQ(Window().defaultTimerCalls, 1);
    EXPECT_EQ(Window().invalidations.back(), false);
    // The guard was released: the next tick runs (and is processed by default).
    Tick();
    EXPECT_EQ(Window().defaultTimerCalls, 2);
}

TEST_F(Discovery, TicksDuringTheGiveUpMessageChangeNothing) {
    StartDiscovery();
    Tick(); // first fruitless scan
    EXPECT_EQ(m_dialog->m_nScanRounds, 1);
    int delivered = 0;
    int defaultCallsSeen = -1;
    headless::SetMessageBoxHook([&](const headless::MessageBoxRecord&) {
        defaultCallsSeen = Window().defaultTimerCalls;
        for (int i = 0; i < 5; ++i)
            delivered += Tick();
        EXPECT_EQ(Window().defaultTimerCalls, defaultCallsSeen);
        EXPECT_EQ(m_dialog->m_nScanRounds, 2);
        EXPECT_EQ(MessageBoxCount(), 1u);
        EXPECT_FALSE(Window().ended); // OnCancel comes after the box is dismissed
    });
    Tick();
    EXPECT_EQ(delivered, 5);
    ExpectGaveUp();
    // The guard stays set while the dialog ends: later ticks do nothing at all.
    Tick();
    EXPECT_EQ(Window().defaultTimerCalls, defaultCallsSeen);
    EXPECT_EQ(MessageBoxCount(), 1u);
    EXPECT_EQ(headless::Finish(*m_dialog), kx::kIdCancel);
}

// NEXT is hidden on the connecting page but stays the default button, so Enter still sends
// its click: it must not skip discovery, neither while scanning nor while a port waits.
TEST_F(Discovery, NextOnTheConnectingPageChangesNothing) {
    AddDevice(1);
    StartDiscovery();
    ASSERT_TRUE(Click(IDC_NEXT)); // scanning
    Tick();
    ASSERT_NE(m_dialog->m_pPort, nullptr);
    ASSERT_TRUE(Click(IDC_NEXT)); // waiting for the banner
    EXPECT_EQ(m_dialog->m_nPage, 1);
    EXPECT_EQ(m_dialog->m_nTicks, 0);
    EXPECT_NE(m_dialog->m_pPort, nullptr);
    EXPECT_FALSE(Window().Item(IDC_NEXT).visible);
    EXPECT_EQ(Window().invalidations.size(), 1u); // only the welcome page's advance
    // Discovery goes on as if nothing had happened: the silent device, then the message.
    EXPECT_EQ(1 + TicksUntilMessageBox(19), 12); // the tick that opened the port, then the rest
    ExpectGaveUp();
}

TEST_F(Discovery, ShutdownDeletesAPortWaitingForTheBanner) {
    PtyDevice& device = AddDevice(1);
    StartDiscovery();
    Tick();
    ASSERT_TRUE(device.PeerOpen());
    EXPECT_EQ(headless::Finish(*m_dialog), kx::kIdCancel);
    EXPECT_EQ(m_dialog->m_pPort, nullptr);
    EXPECT_FALSE(device.PeerOpen());
    EXPECT_TRUE(m_dialog->m_bClosing);
    EXPECT_TRUE(Window().timers.empty());
    EXPECT_EQ(m_dialog->m_hWebThread, nullptr);
    EXPECT_TRUE(Window().destroyed);
    EXPECT_FALSE(Tick());
}

} // namespace
