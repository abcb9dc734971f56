#include "tests/wizard/WizardFixture.h"
#include "ui/resource.h"

#include <cstring>

namespace {

constexpr char kNotFound[] = "The temperature data from the probe was not found. Make sure you "
                             "have hit Query and try again.";
constexpr char kTooLarge[] = "Offsets of greater than +- 12.7 degrees are not allowed. Please "
                             "check the entered actual temperature.";

class Calibration : public WizardFixture {
  protected:
    // The unit page with the calibration group revealed and a capture window long closed.
    PtyDevice& ReadyUnit() {
        PtyDevice& unit = ReachUnitPage();
        Click(IDC_SHOW_CAL);
        return unit;
    }

    // What the unit received from one click, or "" with the box's text when refused.
    struct Result {
        std::string sent;
        std::string box;
        std::string caption;
    };
    // `expected`: how many bytes the click should send (none: a short wait shows the absence).
    Result Press(PtyDevice& unit, int button, size_t expected) {
        const size_t before = unit.Received().size();
        const size_t boxes = MessageBoxCount();
        Click(button);
        Result result;
        if (MessageBoxCount() > boxes) {
            result.box = headless::MessageBoxes().back().text;
            result.caption = headless::MessageBoxes().back().caption;
            EXPECT_EQ(headless::MessageBoxes().back().type, 0u);
        }
        if (expected == 0)
            WaitForWorker();
        result.sent = unit.AwaitReceived(before + expected).substr(before);
        return result;
    }
};

TEST_F(Calibration, StoreDateChecksOnlyTheLengths) {
    const char* const kYear = "Please enter a 2-digit year that is 10 or greater.";
    const char* const kMonth = "Please enter a numeric month.";
    const struct {
        const char* year;
        const char* month;
        const char* sent;
        const char* box;
    } cases[] = {
        {"10", "1", "C1001", ""},  {"05", "12", "C0512", ""}, {"10", "0", "C1000", ""},
        {"10", "13", "C1013", ""}, {"5", "1", "", kYear},     {"2010", "1", "", kYear},
        {"", "", "", kYear},       {"10", "", "", kMonth},    {"10", "123", "", kMonth},
        {"1", "123", "", kYear},
    };
    PtyDevice& unit = ReadyUnit();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "/" + c.month);
        m_dialog->SetDlgItemText(IDC_YEAR, c.year);
        m_dialog->SetDlgItemText(IDC_MONTH, c.month);
        m_dialog->SetDlgItemText(IDC_CONSOLE, "earlier answer");
        m_dialog->m_nTicks = 6;
        std::strcpy(m_dialog->m_szReply, "earlier");
        const Result result = Press(unit, IDC_STORE_DATE, std::strlen(c.sent));
        EXPECT_EQ(result.sent, c.sent);
        EXPECT_EQ(result.box, c.box);
        if (*c.box) {
            EXPECT_EQ(result.caption, "Exit");
        }
        // The console is emptied first, whatever follows; the boxes are left as typed.
        EXPECT_EQ(Text(IDC_CONSOLE), "");
        EXPECT_EQ(Text(IDC_MONTH), c.month);
        EXPECT_EQ(m_dialog->m_nTicks, *c.sent ? 0 : 6);
        EXPECT_STREQ(m_dialog->m_szReply, *c.sent ? "" : "earlier");
    }
}

TEST_F(Calibration, StoreDateWithTheBoxesFirstContents) {
    PtyDevice& unit = ReadyUnit();
    EXPECT_EQ(Press(unit, IDC_STORE_DATE, 5).sent, "C1001");
}

TEST_F(Calibration, StoreOffsetSendsTenthsRoundedHalfAwayFromZero) {
    const char* const kCheck = "Please check the offset you entered.";
    const struct {
        const char* offset;
        const char* sent; // "" when refused
    } cases[] = {
        {"0", "O+000"},     {"1.5", "O+015"},  {"-0.3", "O-003"},   {"0.25", "O+003"},
        {"-1.25", "O-013"}, {"1.25", "O+013"}, {"12.7", "O+127"},   {"99.9", "O+999"},
        {"-99.9", "O-999"}, {"-0", "O-000"},   {"-0.04", "O-000"},  {"", "O+000"},
        {"abc", "O+000"},   {"inf", "O+000"},  {" 5e-1x", "O+005"}, {"100", ""},
        {"-100", ""},       {"99.95", ""},     {"1e38", ""},        {"-1e38", ""},
        {"1e999", ""},      {"123456789", ""},
    };
    PtyDevice& unit = ReadyUnit();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        m_dialog->SetDlgItemText(IDC_OFFSET, c.offset);
        m_dialog->SetDlgItemText(IDC_CONSOLE, "kept");
        m_dialog->m_nTicks = 6;
        const Result result = Press(unit, IDC_STORE_OFFSET, std::strlen(c.sent));
        EXPECT_EQ(result.sent, c.sent);
        EXPECT_EQ(result.box, *c.sent ? "" : kCheck);
        EXPECT_EQ(Text(IDC_CONSOLE), "kept");
        EXPECT_EQ(m_dialog->m_nTicks, *c.sent ? 0 : 6);
    }
}

TEST_F(Calibration, StoreCommandsDrainEarlierBytesAndCaptureTheAnswer) {
    PtyDevice& unit = ReadyUnit();
    unit.Send("unsolicited");
    m_dialog->SetDlgItemText(IDC_OFFSET, "1.5");
    m_dialog->SetDlgItemText(IDC_CONSOLE, "before ");
    EXPECT_EQ(Press(unit, IDC_STORE_OFFSET, 5).sent, "O+015");
    unit.Send("stored\n\r");
    Tick();
    EXPECT_EQ(Text(IDC_CONSOLE), "before stored\r\n");
    EXPECT_STREQ(m_dialog->m_szReply, "stored\n\r");
}

TEST_F(Calibration, StoreCommandsWithoutAPortSendNothing) {
    ReadyUnit();
    m_dialog->m_pPort.reset();
    m_dialog->m_nTicks = 6;
    std::strcpy(m_dialog->m_szReply, "kept");
    Click(IDC_STORE_DATE);
    Click(IDC_STORE_OFFSET);
    EXPECT_EQ(MessageBoxCount(), 0u);
    EXPECT_EQ(m_dialog->m_nTicks, 6);
    EXPECT_STREQ(m_dialog->m_szReply, "kept");
}

TEST_F(Calibration, CalculateOffsetFindsTheReadingAndChecksTheLimits) {
    const struct {
        const char* name;
        const char* reply;
        const char* actual;
        const char* offset; // IDC_OFFSET afterwards
        const char* box;
        const char* caption;
    } cases[] = {
        {"empty reply", "", "0", "5", kNotFound, "Data not found"},
        {"banner only", "Quorvane Telemetry\r\n", "0", "5", kNotFound, "Data not found"},
        {"no g seven before the point", "Temperature   23.5\n\r", "0", "5", kNotFound,
         "Data not found"},
        {"accepted at 12.7", "Probe deg:   23.5 C\n\r", "10.8", "12.7", "", ""},
        {"refused at 12.8", "deg:   25.0\n\r", "12.2", "5", kTooLarge, "extracted"},
        {"refused below -12.7", "deg:    0.0", "13", "5", kTooLarge, "extracted"},
        {"half-way rounds up", "deg:   23.5", "22.25", "1.3", "", ""},
        {"half-way rounds down", "deg:   22.0", "22.25", "-0.3", "", ""},
        {"equal", "deg:   22.0", "22.0", "0.0", "", ""},
        {"negative zero", "deg:   22.0", "22.04", "-0.0", "", ""},
        {"point at the end", "deg:   23.", "20", "3.0", "", ""},
        {"point before index 7", "1.5 deg:   20.0", "10", "10.0", "", ""},
        {"g at index 0", "g      .5", "0", "0.5", "", ""},
        {"first of two readings", "deg:   20.0 deg:   30.0", "10", "10.0", "", ""},
        {"actual not a number", "deg:   10.5", "abc", "10.5", "", ""},
        {"negative reading", "deg:  -12.5", "-1", "-11.5", "", ""},
        {"infinite minus infinite", "deg::9e99.5", "1e39", "5", kTooLarge, "extracted"},
        {"infinite reading", "deg::9e99.5", "0", "5", kTooLarge, "extracted"},
    };
    OpenWizard();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::strcpy(m_dialog->m_szReply, c.reply);
        m_dialog->SetDlgItemText(IDC_ACTUAL_TEMP, c.actual);
        m_dialog->SetDlgItemText(IDC_OFFSET, "5");
        const size_t boxes = MessageBoxCount();
        Click(IDC_CALC_OFFSET);
        EXPECT_EQ(Text(IDC_OFFSET), c.offset);
        if (*c.box) {
            ASSERT_EQ(MessageBoxCount(), boxes + 1);
            EXPECT_EQ(headless::MessageBoxes().back().text, c.box);
            EXPECT_EQ(headless::MessageBoxes().back().caption, c.caption);
            EXPECT_EQ(headless::MessageBoxes().back().type, 0u);
        } else {
            EXPECT_EQ(MessageBoxCount(), boxes);
        }
        // Only read: the offset can be computed again against another reference.
        EXPECT_STREQ(m_dialog->m_szReply, c.reply);
    }
}

} // namespace
