// Page advance, the state resets of each page, and the shutdown order.
#include "platform/thread.h"
#include "serial/SerialPort.h"
#include "wizard/KXWizardDlg.h"

namespace {
constexpr uint32_t kWebProbeWaitMs = 10000;
}

CKXWizardDlg::~CKXWizardDlg() = default;

void CKXWizardDlg::OnNext() {
    switch (m_nPage) {
    case 2:
        Query();
        break;
    case 1:
        // NEXT is hidden on the connecting page, yet Enter still presses the default button:
        // only discovery leaves this page, once the unit has answered.
        break;
    default:
        AdvancePage();
        break;
    }
}

void CKXWizardDlg::AdvancePage() {
    ++m_nPage;
    UpdatePage();
    // The page picture covers the whole client area: no erase.
    Invalidate(false);
}

void CKXWizardDlg::ApplyPageResets() {
    if (m_nPage == 1) {
        m_nScanStart = 0;
        m_nScanRounds = 0;
    } else if (m_nPage == 2) {
        m_nTicks = -1; // no capture until a command is sent
    }
}

bool CKXWizardDlg::DestroyWindow() {
    m_bClosing = true;
    KillTimer(POLL_TIMER_ID);
    // Stops the channel's worker (up to 1000 ms) and closes the port.
    m_pPort.reset();
    if (m_hWebThread) {
        // The probe never touches the dialog after its first look at m_bClosing, so the
        // dialog may go even when the probe is still waiting for the network.
        kx::WaitThread(m_hWebThread, kWebProbeWaitMs);
        kx::CloseThread(m_hWebThread);
        m_hWebThread = nullptr;
    }
    return CDialog::DestroyWindow();
}
