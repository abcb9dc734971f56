// The 100 ms tick: re-entry guard, the page's step, the closing steps; and the capture
// window's count of wall-clock seconds. Both values live for the whole process.
#include "platform/clock.h"
#include "wizard/KXWizardDlg.h"

namespace {
// 1 while a tick is handled. A message box shown from a tick runs a modal loop that keeps
// delivering ticks; those must return at once.
int32_t s_bInTick = 0;
// The local-time second at which the capture window count last rose.
int32_t s_nLastSecond = 0;
} // namespace

void CKXWizardDlg::ResetTickStateForTesting() {
    s_bInTick = 0;
    s_nLastSecond = 0;
}

void CKXWizardDlg::OnTimer(uintptr_t id) {
    if (s_bInTick == 1)
        return;
    s_bInTick = 1;
    if (m_nPage == 1) {
        switch (DiscoveryStep()) {
        case DiscoveryOutcome::UnitFound:
            s_bInTick = 0;
            return;
        case DiscoveryOutcome::GaveUp:
            // The dialog is ending; every later tick does nothing.
            return;
        case DiscoveryOutcome::Continue:
            break;
        }
    } else if (m_nPage == 2) {
        CaptureStep();
    }
    CDialog::OnTimer(id);
    s_bInTick = 0;
}

void CKXWizardDlg::CountCaptureSecond() {
    const int32_t second = kx::LocalTimeSecond();
    if (second != s_nLastSecond) {
        ++m_nTicks;
        s_nLastSecond = second;
    }
}
