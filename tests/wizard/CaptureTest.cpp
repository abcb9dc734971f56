#include "tests/wizard/WizardFixture.h"
#include "ui/resource.h"

#include <cstring>

namespace {

class Capture : public WizardFixture {
  protected:
    // The unit page after a Query whose "X" has reached the unit.
    PtyDevice& QueryUnit() {
        PtyDevice& unit = ReachUnitPage();
        EXPECT_TRUE(Click(IDC_NEXT));
        EXPECT_EQ(unit.AwaitReceived(2), "QX");
        return unit;
    }

    // Sends bytes, lets the worker move them, ticks once.
    void Deliver(PtyDevice& unit, const std::string& bytes) {
        unit.Send(bytes);
        Tick();
    }

    // Ticks at 100 ms on the fake clock from the first tick after a command until the window
    // closes; the time in tenths from the first tick to the last read.
    int WindowLength() {
        const int first = ++s_tenths;
        Tick();
        while (m_dialog->m_nTicks < 6) {
            ++s_tenths;
            Tick();
        }
        return s_tenths - first;
    }
};

TEST_F(Capture, QueryDrainsTheRestOfTheBannerLineAndStartsAWindow) {
    PtyDevice& unit = AddDevice(1);
    StartDiscovery();
    Tick();
    unit.AwaitReceived(1);
    // 90 bytes per read: the first read takes the banner and leaves the rest in the ring.
    unit.Send(std::string(kBannerLine) + std::string(150, '-'));
    Tick();
    ASSERT_EQ(m_dialog->m_nPage, 2);
    m_dialog->SetDlgItemText(IDC_CONSOLE, "old text");
    Tick(); // no capture before the first command
    EXPECT_EQ(Text(IDC_CONSOLE), "old text");
    EXPECT_EQ(m_dialog->m_nTicks, -1);

    ASSERT_TRUE(Click(IDC_NEXT));
    EXPECT_EQ(Text(IDC_CONSOLE), "");
    EXPECT_EQ(m_dialog->m_nTicks, 0);
    EXPECT_STREQ(m_dialog->m_szReply, "");
    EXPECT_EQ(unit.AwaitReceived(2), "QX");
    Deliver(unit, "T=1\n\r");
    EXPECT_EQ(Text(IDC_CONSOLE), "T=1\r\n");
    EXPECT_STREQ(m_dialog->m_szReply, "T=1\n\r");
}

TEST_F(Capture, QueryWithoutAPortOnlyEmptiesTheConsole) {
    ReachUnitPage();
    m_dialog->m_pPort.reset();
    m_dialog->SetDlgItemText(IDC_CONSOLE, "shown");
    std::strcpy(m_dialog->m_szReply, "kept");
    ASSERT_TRUE(Click(IDC_NEXT));
    EXPECT_EQ(Text(IDC_CONSOLE), "");
    EXPECT_EQ(m_dialog->m_nTicks, -1);
    EXPECT_STREQ(m_dialog->m_szReply, "kept");
}

TEST_F(Capture, LineEndsAreTurnedAroundInTheConsoleOnly) {
    const struct {
        const char* name;
        std::vector<std::string> chunks;
        std::string console;
        std::string reply;
    } cases[] = {
        {"two lines in one chunk", {"A\n\rB\n\r"}, "A\r\nB\r\n", "A\n\rB\n\r"},
        {"pair split across chunks", {"A\n", "\rB"}, "A\r\nB", "A\n\rB"},
        {"CR LF CR LF", {"\r\n\r\n"}, "\r\r\n\n", "\r\n\r\n"},
        {"NUL in a chunk", {"AB", std::string("CD\0EF", 5), "GH"}, "ABCDGH", "ABCDGH"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        PtyDevice& unit = QueryUnit();
        for (const std::string& chunk : c.chunks)
            Deliver(unit, chunk);
        EXPECT_EQ(Text(IDC_CONSOLE), c.console);
        EXPECT_EQ(std::string(m_dialog->m_szReply), c.reply);
    }
}

TEST_F(Capture, ANulByteEndsTheReplyTextWhereTheNextChunkLands) {
    PtyDevice& unit = QueryUnit();
    Deliver(unit, std::string("AB\0CD", 5));
    EXPECT_EQ(Text(IDC_CONSOLE), "AB");
    EXPECT_EQ(std::string(m_dialog->m_szReply, 6), std::string("AB\0CD\0", 6));
    Deliver(unit, "E");
    EXPECT_EQ(Text(IDC_CONSOLE), "ABE");
    EXPECT_EQ(std::string(m_dialog->m_szReply, 4), std::string("ABE\0", 4));
}

TEST_F(Capture, ChunksOf99AndTheReplyLimit) {
    PtyDevice& unit = QueryUnit();
    Deliver(unit, std::string(150, 'a'));
    EXPECT_EQ(Text(IDC_CONSOLE).size(), 99u);
    Tick();
    EXPECT_EQ(Text(IDC_CONSOLE).size(), 150u);

    // 1990 characters: 10 more would reach 2000 and are left out whole; 9 still fit.
    std::memset(m_dialog->m_szReply, 'r', 1990);
    m_dialog->m_szReply[1990] = '\0';
    Deliver(unit, "0123456789");
    EXPECT_EQ(std::strlen(m_dialog->m_szReply), 1990u);
    Deliver(unit, "abcdefghi");
    EXPECT_EQ(std::strlen(m_dialog->m_szReply), 1999u);
    EXPECT_EQ(std::string(m_dialog->m_szReply + 1990), "abcdefghi");
    EXPECT_EQ(Text(IDC_CONSOLE), std::string(150, 'a') + "0123456789abcdefghi");
    Deliver(unit, "z");
    EXPECT_EQ(std::strlen(m_dialog->m_szReply), 1999u);
    EXPECT_EQ(m_dialog->m_szReply[1999], '\0');
}

TEST_F(Capture, WindowLengthDependsOnTheSecondOfTheLastRise) {
    const struct {
        const char* name;
        int earlierQueryAt; // tenths; -1: none, so the last rise is the initial second 0
        int queryAt;
        int expected; // tenths from the first tick to the last read
    } cases[] = {
        {"first tick in a new second", -1, 32, 47},                      // 3.3 .. 8.0
        {"first window, first tick in second 0", -1, 2, 57},             // 0.3 .. 6.0
        {"second query within the second of the last rise", 32, 35, 54}, // 3.6 .. 9.0
        {"a minute later, same second as the last rise", 32, 600 + 35, 54},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ReachUnitPage();
        if (c.earlierQueryAt >= 0) {
            s_tenths = c.earlierQueryAt;
            Click(IDC_NEXT);
            ++s_tenths;
            Tick(); // the last rise happens in this second
        }
        s_tenths = c.queryAt;
        Click(IDC_NEXT);
        EXPECT_EQ(WindowLength(), c.expected);
    }
}

TEST_F(Capture, TheClosingTickStillReadsTheNextDoesNot) {
    PtyDevice& unit = QueryUnit();
    s_tenths = 12;
    Tick(); // rise 1 in second 1
    for (int second = 2; second <= 5; ++second) {
        s_tenths = second * 10;
        Tick();
    }
    ASSERT_EQ(m_dialog->m_nTicks, 5);
    unit.Send("late");
    s_tenths = 60;
    Tick();
    EXPECT_EQ(m_dialog->m_nTicks, 6);
    EXPECT_EQ(Text(IDC_CONSOLE), "late");
    Deliver(unit, "after");
    s_tenths = 70;
    Tick();
    EXPECT_EQ(m_dialog->m_nTicks, 6);
    EXPECT_EQ(Text(IDC_CONSOLE), "late");
    // The next command's drain throws the unshown bytes away.
    Click(IDC_NEXT);
    Deliver(unit, "new");
    EXPECT_EQ(Text(IDC_CONSOLE), "new");
}

TEST_F(Capture, AFailedLocalTimeCountsAsASecond) {
    QueryUnit();
    kx::SetSecondSourceForTesting([] { return -1; });
    Tick();
    EXPECT_EQ(m_dialog->m_nTicks, 1);
    Tick();
    EXPECT_EQ(m_dialog->m_nTicks, 1);
}

TEST_F(Capture, CaptureGoesOnBehindAButtonsMessageBox) {
    PtyDevice& unit = QueryUnit();
    m_dialog->SetDlgItemText(IDC_YEAR, "5");
    headless::SetMessageBoxHook([&](const headless::MessageBoxRecord&) {
        unit.Send("behind");
        EXPECT_TRUE(Tick());
    });
    Click(IDC_STORE_DATE);
    EXPECT_EQ(MessageBoxCount(), 1u);
    EXPECT_EQ(Text(IDC_CONSOLE), "behind");
}

} // namespace
