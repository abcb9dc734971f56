// Finding the KX unit: open COM ports in ascending order, send identify to the first that
// opens, and wait four reads for the banner.
#include "serial/SerialPort.h"
#include "serial/UnitCommands.h"
#include "wizard/KXWizardDlg.h"

namespace {
constexpr int32_t kLastPortNumber = 99; // COM100
constexpr int32_t kBaud9600 = 5;
constexpr int32_t kBannerReadSize = 90;
constexpr int32_t kBannerReads = 4;
} // namespace

CKXWizardDlg::DiscoveryOutcome CKXWizardDlg::DiscoveryStep() {
    return m_pPort ? ReadBanner() : Scan();
}

CKXWizardDlg::DiscoveryOutcome CKXWizardDlg::ReadBanner() {
    char chunk[kBannerReadSize];
    const int32_t count = m_pPort->Read(chunk, kBannerReadSize);
    if (count > 0) {
        AppendToReply(chunk, count);
        if (UnitCommands::StartsWithBanner(m_szReply)) {
            AdvancePage(); // the port stays open for the unit page
            return DiscoveryOutcome::UnitFound;
        }
    }
    if (++m_nTicks >= kBannerReads) {
        m_pPort.reset();
        // One up from where this scan began, not past the dropped port.
        ++m_nScanStart;
    }
    return DiscoveryOutcome::Continue;
}

CKXWizardDlg::DiscoveryOutcome CKXWizardDlg::Scan() {
    for (int32_t port = m_nScanStart; port <= kLastPortNumber; ++port) {
        m_pPort = std::make_unique<CSerialPort>(port, kBaud9600);
        if (m_pPort->m_bOpened) {
            m_pPort->Write(UnitCommands::kIdentify, -1);
            m_nTicks = 0;
            m_szReply[0] = '\0';
            return DiscoveryOutcome::Continue;
        }
        m_pPort.reset();
    }
    if (++m_nScanRounds > 1) {
        MessageBox("There doesn't appear to be an KX unit connected.", "Exit", 0);
        OnCancel();
        return DiscoveryOutcome::GaveUp;
    }
    m_nScanStart = 0;
    return DiscoveryOutcome::Continue;
}
