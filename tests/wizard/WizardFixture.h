#pragma once
// A wizard on the headless window, COM ports mapped to ptys only, and a clock the test sets.
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "serial/SerialPort.h"
#include "tests/wizard/PtyDevice.h"
#include "wizard/KXWizardDlg.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class WizardFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A device on COM `com` (1-based), held by the fixture.
    PtyDevice& AddDevice(int com);
    // COM `com` opens `path` for this test.
    void MapDevice(int com, const std::string& path);
    // Creates the window (OnInitDialog) on the welcome page.
    void OpenWizard();
    // Welcome page -> connecting page.
    void StartDiscovery();
    // A unit on COM1 answers the identify command; the wizard is on the unit page after.
    PtyDevice& ReachUnitPage();

    bool Tick();
    bool Click(int id);
    headless::Window& Window() { return headless::State(*m_dialog); }
    std::string Text(int id) { return Window().Item(id).text; }
    size_t MessageBoxCount() { return headless::MessageBoxes().size(); }

    // The local-time second the wizard sees: tenths of a second since a minute's start.
    static int s_tenths;
    static int FakeSecond();

    std::unique_ptr<CKXWizardDlg> m_dialog;

  private:
    std::vector<int> m_mapped;
    std::vector<std::unique_ptr<PtyDevice>> m_devices;
};

constexpr char kBannerLine[] = "Quorvane Telemetry\r\n";
constexpr char kNoUnitText[] = "There doesn't appear to be an KX unit connected.";
