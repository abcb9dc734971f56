#include "tests/wizard/WizardFixture.h"

#include "platform/clock.h"
#include "platform/posix/serial_com_names.h"
#include "ui/resource.h"

int WizardFixture::s_tenths = 0;

int WizardFixture::FakeSecond() {
    return (s_tenths / 10) % 60;
}

void WizardFixture::SetUp() {
    headless::Reset();
    CKXWizardDlg::ResetTickStateForTesting();
    kx::UseOnlyMappedComPortsForTesting(true);
    s_tenths = 0;
    kx::SetSecondSourceForTesting(&FakeSecond);
}

void WizardFixture::TearDown() {
    if (m_dialog && headless::Find(*m_dialog) && !Window().destroyed)
        headless::Finish(*m_dialog);
    m_dialog.reset();
    for (int com : m_mapped)
        kx::MapComPortForTesting(com, "");
    m_mapped.clear();
    m_devices.clear();
    kx::UseOnlyMappedComPortsForTesting(false);
    kx::SetSecondSourceForTesting(nullptr);
    headless::Reset();
}

PtyDevice& WizardFixture::AddDevice(int com) {
    m_devices.push_back(std::make_unique<PtyDevice>());
    MapDevice(com, m_devices.back()->Path());
    return *m_devices.back();
}

void WizardFixture::MapDevice(int com, const std::string& path) {
    kx::MapComPortForTesting(com, path);
    m_mapped.push_back(com);
}

void WizardFixture::OpenWizard() {
    m_dialog = std::make_unique<CKXWizardDlg>();
    headless::Open(*m_dialog);
}

void WizardFixture::StartDiscovery() {
    OpenWizard();
    ASSERT_TRUE(Click(IDC_NEXT));
    ASSERT_EQ(m_dialog->m_nPage, 1);
}

PtyDevice& WizardFixture::ReachUnitPage() {
    PtyDevice& unit = AddDevice(1);
    StartDiscovery();
    Tick(); // opens COM1 and queues "Q"
    EXPECT_EQ(unit.AwaitReceived(1), "Q");
    unit.Send(kBannerLine);
    Tick();
    EXPECT_EQ(m_dialog->m_nPage, 2);
    return unit;
}

bool WizardFixture::Tick() {
    return headless::Tick(*m_dialog, POLL_TIMER_ID);
}

bool WizardFixture::Click(int id) {
    return headless::Click(*m_dialog, id);
}
