#include "tests/wizard/WizardFixture.h"
#include "ui/AboutDlg.h"
#include "ui/resource.h"

#include <map>

namespace {

class WizardWindow : public WizardFixture {};

constexpr int kCalibrationGroup[] = {
    IDC_MONTH_LABEL,       IDC_MONTH,        IDC_YEAR_LABEL,  IDC_YEAR,
    IDC_STORE_DATE,        IDC_OFFSET_LABEL, IDC_OFFSET,      IDC_STORE_OFFSET,
    IDC_ACTUAL_TEMP_LABEL, IDC_ACTUAL_TEMP,  IDC_CALC_OFFSET,
};

TEST_F(WizardWindow, InitialisationPlacesTheWindowAndLaysOutFromNext) {
    const struct {
        int width, height;
        CRect next, exit, console;
    } cases[] = {
        {63, 28, {527, 362, 590, 390}, {454, 362, 517, 390}, {100, 120, 500, 342}},
        {80, 30, {510, 360, 590, 390}, {420, 360, 500, 390}, {100, 120, 500, 340}},
    };
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        headless::Options().controlWidth = c.width;
        headless::Options().controlHeight = c.height;
        headless::Options().frameWidth = 3; // the layout still takes 600 x 400
        OpenWizard();
        const headless::Window& w = Window();
        EXPECT_EQ(w.rect.left, 0);
        EXPECT_EQ(w.rect.top, 0);
        EXPECT_EQ(w.rect.Width(), 600);
        EXPECT_EQ(w.rect.Height(), 400);
        for (const auto& [id, expected] : {std::pair<int, CRect>{IDC_NEXT, c.next},
                                           {IDC_EXIT, c.exit},
                                           {IDC_CONSOLE, c.console}}) {
            const CRect r = Window().Item(id).rect;
            EXPECT_EQ(
                std::vector<int>({r.left, r.top, r.right, r.bottom}),
                std::vector<int>({expected.left, expected.top, expected.right, expected.bottom}))
                << id;
        }
    }
}

TEST_F(WizardWindow, InitialisationSetsIconsFontTitleTimerAndProbe) {
    OpenWizard();
    const headless::Window& w = Window();
    EXPECT_EQ(w.title, "KX wizard");
    EXPECT_EQ(w.bigIcon, kx::LoadIconResource(IDR_MAINFRAME));
    EXPECT_EQ(w.smallIcon, kx::LoadIconResource(IDR_MAINFRAME));
    EXPECT_EQ(m_dialog->m_hIcon, kx::LoadIconResource(IDR_MAINFRAME));
    const headless::FontRecord* font = headless::Font(Window().Item(IDC_CONSOLE).font);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->face, "Courier New");
    EXPECT_EQ(font->height, -18);
    EXPECT_EQ(font->width, 0);
    EXPECT_EQ(font->weight, 300);
    EXPECT_FALSE(font->italic || font->underline || font->strikeOut);
    EXPECT_EQ(font->charSet, 1);
    EXPECT_EQ(Window().Item(IDC_NEXT).font, nullptr); // the others keep the template font
    EXPECT_EQ(w.timers, (std::map<uintptr_t, uint32_t>{{POLL_TIMER_ID, 100}}));
    EXPECT_NE(m_dialog->m_hWebThread, nullptr);
    EXPECT_EQ(m_dialog->m_nPage, 0);
    EXPECT_FALSE(m_dialog->m_bClosing);
}

TEST_F(WizardWindow, AboutItemNeedsASystemMenuAndTheString) {
    const struct {
        bool menu;
        const char* text;
        size_t items;
    } cases[] = {
        {true, "About KXWizard(&A)...", 2}, {false, "About KXWizard(&A)...", 0}, {true, "", 0}};
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        headless::Options().systemMenu = c.menu;
        headless::SetStringResource(IDS_ABOUTBOX, c.text);
        OpenWizard();
        ASSERT_EQ(Window().systemMenu.size(), c.items);
        if (c.items) {
            EXPECT_TRUE(Window().systemMenu[0].separator);
            EXPECT_EQ(Window().systemMenu[1].command, 16u);
            EXPECT_EQ(Window().systemMenu[1].text, "About KXWizard(&A)...");
        }
    }
}

TEST_F(WizardWindow, EachPageShowsItsControls) {
    PtyDevice& unit = AddDevice(1);
    OpenWizard();
    auto visible = [this](int id) { return Window().Item(id).visible; };
    // Welcome page: only NEXT, and the boxes' first contents.
    EXPECT_TRUE(visible(IDC_NEXT));
    for (int id : {IDC_EXIT, IDC_CONSOLE, IDC_SHOW_CAL})
        EXPECT_FALSE(visible(id)) << id;
    for (int id : kCalibrationGroup)
        EXPECT_FALSE(visible(id)) << id;
    const std::map<int, std::string> texts = {{IDC_YEAR, "10"},
                                              {IDC_MONTH, "1"},
                                              {IDC_OFFSET, "0"},
                                              {IDC_ACTUAL_TEMP, "0"},
                                              {IDC_MONTH_LABEL, "Month"},
                                              {IDC_YEAR_LABEL, "Year"},
                                              {IDC_OFFSET_LABEL, "Offset deg C"},
                                              {IDC_ACTUAL_TEMP_LABEL, "Actual Temp in C:"}};
    for (const auto& [id, text] : texts)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(Window().defaultId, IDC_NEXT);
    EXPECT_TRUE(Window().invalidations.empty());

    // Connecting page: nothing at all; scan counters reset; repaint without erasing.
    m_dialog->m_nScanStart = 7;
    m_dialog->m_nScanRounds = 7;
    Click(IDC_NEXT);
    EXPECT_EQ(m_dialog->m_nScanStart, 0);
    EXPECT_EQ(m_dialog->m_nScanRounds, 0);
    EXPECT_EQ(Text(IDC_NEXT), "NEXT");
    for (int id : {IDC_NEXT, IDC_EXIT, IDC_CONSOLE, IDC_SHOW_CAL})
        EXPECT_FALSE(visible(id)) << id;
    EXPECT_EQ(Window().invalidations, std::vector<bool>{false});
    EXPECT_EQ(Window().defaultId, IDC_NEXT);

    // Unit page: Query, Exit, console and the Show button; the group stays hidden.
    Tick();
    unit.AwaitReceived(1);
    unit.Send(kBannerLine);
    Tick();
    ASSERT_EQ(m_dialog->m_nPage, 2);
    EXPECT_EQ(Text(IDC_NEXT), "Query");
    for (int id : {IDC_NEXT, IDC_EXIT, IDC_CONSOLE, IDC_SHOW_CAL})
        EXPECT_TRUE(visible(id)) << id;
    for (int id : kCalibrationGroup)
        EXPECT_FALSE(visible(id)) << id;
    EXPECT_EQ(Window().invalidations, (std::vector<bool>{false, false}));

    // Show VLX4 Cal Options: the group appears with its first contents; the button goes.
    Click(IDC_SHOW_CAL);
    for (int id : kCalibrationGroup)
        EXPECT_TRUE(visible(id)) << id;
    EXPECT_FALSE(visible(IDC_SHOW_CAL));
    for (const auto& [id, text] : texts)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(m_dialog->m_nPage, 2);
    EXPECT_EQ(Window().defaultId, IDC_NEXT);
}

TEST_F(WizardWindow, PaintsThePagePictureOrTheMinimisedIcon) {
    headless::Options().frameWidth = 3;
    AddDevice(1);
    OpenWizard();
    const int liveBefore = headless::LiveGdiObjects(); // the console font
    ASSERT_TRUE(headless::Paint(*m_dialog));
    Click(IDC_NEXT);
    headless::Paint(*m_dialog);
    ASSERT_EQ(Window().blits.size(), 2u);
    const headless::Blit& welcome = Window().blits[0];
    EXPECT_EQ(welcome.bitmapId, unsigned(IDB_PAGE_WELCOME));
    EXPECT_EQ(Window().blits[1].bitmapId, unsigned(IDB_PAGE_CONNECT));
    // The client area's size, unscaled, from the corners.
    EXPECT_EQ(std::vector<int>({welcome.x, welcome.y, welcome.width, welcome.height, welcome.srcX,
                                welcome.srcY}),
              std::vector<int>({0, 0, 594, 394, 0, 0}));
    EXPECT_EQ(headless::LiveGdiObjects(), liveBefore); // nothing held between paints
    EXPECT_EQ(Window().paints, 2);

    Window().iconic = true;
    headless::Paint(*m_dialog);
    EXPECT_EQ(Window().blits.size(), 2u);
    EXPECT_EQ(Window().iconBackgroundErases, 1);
    ASSERT_EQ(Window().iconDraws.size(), 1u);
    EXPECT_EQ(Window().iconDraws[0].x, (594 - 32 + 1) / 2);
    EXPECT_EQ(Window().iconDraws[0].y, (394 - 32 + 1) / 2);
    EXPECT_EQ(Window().iconDraws[0].icon, m_dialog->m_hIcon);
    EXPECT_EQ(headless::QueryDragIcon(*m_dialog), m_dialog->m_hIcon);
}

TEST_F(WizardWindow, AboutBoxRunsModallyWhileTicksGoOn) {
    OpenWizard();
    Click(IDC_NEXT);
    int aboutBoxes = 0;
    headless::SetModalHook([&](CDialog& dialog) {
        ASSERT_NE(dynamic_cast<CAboutDlg*>(&dialog), nullptr);
        ++aboutBoxes;
        // Discovery goes on underneath: the first scan finds nothing.
        if (aboutBoxes == 1) {
            EXPECT_TRUE(Tick());
            EXPECT_EQ(m_dialog->m_nScanRounds, 1);
        }
        headless::Click(dialog, kx::kIdOk);
    });
    for (uint32_t command : {0x10u, 0x13u, 0x1Fu})
        headless::SysCommand(*m_dialog, command, 42);
    EXPECT_EQ(aboutBoxes, 3);
    headless::SysCommand(*m_dialog, 0xF060, 7); // SC_CLOSE: the platform's default
    headless::SysCommand(*m_dialog, 0x20, 8);
    EXPECT_EQ(aboutBoxes, 3);
    const std::vector<std::pair<uint32_t, intptr_t>> passedOn = {{0xF060, 7}, {0x20, 8}};
    EXPECT_EQ(Window().defaultSysCommands, passedOn);
}

TEST_F(WizardWindow, ExitEndsTheDialogAndShutdownRunsOnce) {
    PtyDevice& unit = ReachUnitPage();
    ASSERT_TRUE(unit.PeerOpen());
    Click(IDC_EXIT);
    EXPECT_TRUE(Window().ended);
    EXPECT_EQ(headless::Finish(*m_dialog), kx::kIdCancel);
    EXPECT_FALSE(unit.PeerOpen());
    EXPECT_EQ(m_dialog->m_pPort, nullptr);
    EXPECT_TRUE(Window().timers.empty());
    EXPECT_TRUE(m_dialog->m_bClosing);
}

TEST_F(WizardWindow, DoModalEndsThroughTheCancelCommand) {
    m_dialog = std::make_unique<CKXWizardDlg>();
    headless::SetModalHook([](CDialog& dialog) { headless::Click(dialog, kx::kIdCancel); });
    EXPECT_EQ(m_dialog->DoModal(), kx::kIdCancel);
    EXPECT_TRUE(Window().destroyed);
    EXPECT_TRUE(m_dialog->m_bClosing);
    EXPECT_EQ(m_dialog->m_hWebThread, nullptr);
}

} // namespace
