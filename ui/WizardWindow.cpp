// The wizard window: construction, message routing, initialisation and layout, the system
// menu's About item, the drag icon and Exit.
#include "platform/gdi.h"
#include "serial/SerialPort.h"
#include "ui/AboutDlg.h"
#include "ui/resource.h"
#include "web/WebProbe.h"
#include "wizard/KXWizardDlg.h"

namespace {
// The window's outer size at the top-left corner of the screen; the layout uses it as the
// area even though the modal frame makes the client area a little smaller.
constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kMargin = 10; // NEXT to the area's corner, and Exit to NEXT
constexpr int kConsoleLeft = 100;
constexpr int kConsoleTop = 120;
constexpr int kConsoleWidth = 400;
constexpr int kConsoleGap = 20; // console bottom to the buttons' top
constexpr unsigned kSysCommandMask = 0xFFF0;
constexpr uint32_t kTickMs = 100;
} // namespace

CKXWizardDlg::CKXWizardDlg(CDialog* parent)
    : CDialog(IDD_KXWIZARD_DIALOG, parent), m_bClosing(false),
      m_hIcon(kx::LoadIconResource(IDR_MAINFRAME)), m_nPage(0), m_nScanStart(0), m_nTicks(0),
      m_nScanRounds(0), m_szReply{}, m_hWebThread(nullptr) {}

const MessageMapEntry* CKXWizardDlg::GetMessageMap() const {
    static const MessageMapEntry entries[] = {
        MapSysCommand(&CKXWizardDlg::OnSysCommand),
        MapPaint(&CKXWizardDlg::OnPaint),
        MapQueryDragIcon(&CKXWizardDlg::OnQueryDragIcon),
        MapClicked(IDC_EXIT, &CKXWizardDlg::OnExit),
        MapClicked(IDC_NEXT, &CKXWizardDlg::OnNext),
        MapClicked(IDC_STORE_OFFSET, &CKXWizardDlg::OnStoreOffset),
        MapClicked(IDC_STORE_DATE, &CKXWizardDlg::OnStoreDate),
        MapClicked(IDC_CALC_OFFSET, &CKXWizardDlg::OnCalculateOffset),
        MapClicked(IDC_SHOW_CAL, &CKXWizardDlg::OnShowCalOptions),
        MapTimer(&CKXWizardDlg::OnTimer),
        MapEnd(),
    };
    return entries;
}

bool CKXWizardDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (kx::MenuHandle menu = GetSystemMenu()) {
        const std::string about = kx::LoadStringResource(IDS_ABOUTBOX);
        if (!about.empty()) {
            kx::AppendMenuSeparator(menu);
            kx::AppendMenuString(menu, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    m_font.DeleteObject();
    m_font.CreateFont(-18, 0, 0, 0, kx::kFwLight, false, false, false, kx::kDefaultCharset,
                      kx::kOutDefaultPrecis, kx::kClipDefaultPrecis, kx::kDefaultQuality,
                      kx::kDefaultPitchDontCare, "Courier New");
    SetDlgItemFont(IDC_CONSOLE, m_font, true);

    SetWindowText("KX wizard");

    // The client rectangle's corner is (0, 0): for a top-level window, the screen's corner.
    const CRect client = GetClientRect();
    MoveWindow(client.left, client.top, kWidth, kHeight, true);
    LayOutControls();

    UpdatePage();
    SetTimer(POLL_TIMER_ID, kTickMs);
    m_hWebThread = kx::StartThread(WebProbeThread, this);
    return true;
}

void CKXWizardDlg::LayOutControls() {
    // NEXT keeps its template size; Exit and the console take their sizes from it.
    const CRect next = GetDlgItemRect(IDC_NEXT);
    const int w = next.Width();
    const int h = next.Height();
    const int buttonTop = kHeight - kMargin - h;
    MoveDlgItem(IDC_NEXT, kWidth - kMargin - w, buttonTop, w, h, true);
    MoveDlgItem(IDC_EXIT, kWidth - 2 * kMargin - 2 * w, buttonTop, w, h, true);
    MoveDlgItem(IDC_CONSOLE, kConsoleLeft, kConsoleTop, kConsoleWidth,
                buttonTop - kConsoleGap - kConsoleTop, true);
}

void CKXWizardDlg::OnSysCommand(uint32_t command, intptr_t param) {
    if ((command & kSysCommandMask) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(command, param);
    }
}

kx::IconHandle CKXWizardDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CKXWizardDlg::OnExit() {
    OnCancel();
}
