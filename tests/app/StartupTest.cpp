// InitInstance: Windows Sockets first, then the wizard as the one modal window; the program
// ends afterwards whatever happened.
#include "app/KXWizardApp.h"
#include "platform/headless/headless.h"
#include "ui/resource.h"
#include "wizard/KXWizardDlg.h"

#include <gtest/gtest.h>

namespace {

constexpr char kSocketsFailed[] = "Windows Socket Failed\u3002";

class Startup : public testing::Test {
  protected:
    void SetUp() override {
        headless::Reset();
        headless::SetStringResource(IDP_SOCKETS_INIT_FAILED, kSocketsFailed);
        CKXWizardDlg::ResetTickStateForTesting();
    }
    void TearDown() override { headless::Reset(); }
};

TEST_F(Startup, WithoutSocketsOnlyTheMessageBoxIsShown) {
    headless::Options().socketInitSucceeds = false;
    bool wizardRan = false;
    headless::SetModalHook([&](CDialog&) { wizardRan = true; });

    EXPECT_FALSE(theApp.InitInstance());

    EXPECT_FALSE(wizardRan);
    EXPECT_EQ(headless::ControlContainerCalls(), 0);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.text, kSocketsFailed);
    EXPECT_EQ(box.caption, kx::AppName()); // the executable's name: "app_startup_test"
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.type, 0u);
}

TEST_F(Startup, RunsTheWizardAsTheMainWindowAndEndsAfterIt) {
    CDialog* seen = nullptr;
    int32_t pageSeen = -1;
    headless::SetModalHook([&](CDialog& dialog) {
        seen = AfxGetApp()->m_pMainWnd;
        EXPECT_EQ(seen, &dialog);
        const auto* wizard = dynamic_cast<CKXWizardDlg*>(&dialog);
        ASSERT_NE(wizard, nullptr);
        pageSeen = wizard->m_nPage;
        headless::Click(dialog, IDC_EXIT);
    });

    EXPECT_FALSE(theApp.InitInstance());

    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(pageSeen, 0);
    EXPECT_EQ(headless::SocketInitCalls(), 1);
    EXPECT_EQ(headless::ControlContainerCalls(), 1);
    EXPECT_TRUE(headless::MessageBoxes().empty());
    // The window went with the dialog, and the application no longer points at it.
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

} // namespace
