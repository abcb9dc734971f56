// CDialog's window and control operations: each one a USER32 call on the dialog's window
// or on one of its controls.
#include "platform/dialog.h"

#include "platform/gdi.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace {

HWND Hwnd(kx::WindowHandle h) {
    return static_cast<HWND>(h);
}

CRect ToCRect(const RECT& r) {
    return CRect{r.left, r.top, r.right, r.bottom};
}

} // namespace

// ShowWindow with SW_SHOW or SW_HIDE.
void CDialog::ShowDlgItem(int id, bool show) {
    ShowWindow(GetDlgItem(Hwnd(m_hWnd), id), show ? SW_SHOW : SW_HIDE);
}

// GetWindowTextW of the control, the whole text whatever its length.
std::string CDialog::GetDlgItemText(int id) const {
    HWND item = GetDlgItem(Hwnd(m_hWnd), id);
    const int length = GetWindowTextLengthW(item);
    if (length <= 0) {
        return std::string();
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(item, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return kx::NarrowText(text);
}

// SetDlgItemTextW.
void CDialog::SetDlgItemText(int id, const std::string& text) {
    SetDlgItemTextW(Hwnd(m_hWnd), id, kx::WidenText(text).c_str());
}

// SetDlgItemInt, signed.
void CDialog::SetDlgItemInt(int id, int value) {
    ::SetDlgItemInt(Hwnd(m_hWnd), id, static_cast<UINT>(value), TRUE);
}

// GetWindowRect of the control: screen coordinates.
CRect CDialog::GetDlgItemRect(int id) const {
    RECT r{};
    ::GetWindowRect(GetDlgItem(Hwnd(m_hWnd), id), &r);
    return ToCRect(r);
}

// MoveWindow of the control, in the dialog's client coordinates.
void CDialog::MoveDlgItem(int id, int x, int y, int width, int height, bool repaint) {
    ::MoveWindow(GetDlgItem(Hwnd(m_hWnd), id), x, y, width, height, repaint ? TRUE : FALSE);
}

// WM_SETFONT to the control.
void CDialog::SetDlgItemFont(int id, const CFont& font, bool redraw) {
    SendDlgItemMessageW(Hwnd(m_hWnd), id, WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject),
                        MAKELPARAM(redraw ? TRUE : FALSE, 0));
}

// DM_SETDEFID.
void CDialog::SetDefID(int id) {
    SendMessageW(Hwnd(m_hWnd), DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

// SetWindowTextW.
void CDialog::SetWindowText(const std::string& text) {
    SetWindowTextW(Hwnd(m_hWnd), kx::WidenText(text).c_str());
}

// GetClientRect.
CRect CDialog::GetClientRect() const {
    RECT r{};
    ::GetClientRect(Hwnd(m_hWnd), &r);
    return ToCRect(r);
}

// MoveWindow; for a top-level window x and y are screen coordinates.
void CDialog::MoveWindow(int x, int y, int width, int height, bool repaint) {
    ::MoveWindow(Hwnd(m_hWnd), x, y, width, height, repaint ? TRUE : FALSE);
}

// IsIconic.
bool CDialog::IsIconic() const {
    return ::IsIconic(Hwnd(m_hWnd)) != FALSE;
}

// InvalidateRect of the whole client area.
void CDialog::Invalidate(bool erase) {
    InvalidateRect(Hwnd(m_hWnd), nullptr, erase ? TRUE : FALSE);
}

// WM_SETICON with ICON_BIG or ICON_SMALL.
void CDialog::SetIcon(kx::IconHandle icon, bool big) {
    SendMessageW(Hwnd(m_hWnd), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon));
}

// SetTimer without a callback: the ticks arrive as WM_TIMER.
void CDialog::SetTimer(uintptr_t id, uint32_t ms) {
    ::SetTimer(Hwnd(m_hWnd), static_cast<UINT_PTR>(id), ms, nullptr);
}

// KillTimer.
void CDialog::KillTimer(uintptr_t id) {
    ::KillTimer(Hwnd(m_hWnd), static_cast<UINT_PTR>(id));
}

// MessageBoxW owned by the window. Its own modal loop keeps dispatching WM_TIMER to the
// window while it is open.
int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return MessageBoxW(Hwnd(m_hWnd), kx::WidenText(text).c_str(), kx::WidenText(caption).c_str(),
                       type);
}

// GetSystemMenu without revert.
kx::MenuHandle CDialog::GetSystemMenu() const {
    return ::GetSystemMenu(Hwnd(m_hWnd), FALSE);
}

// WM_ICONERASEBKGND with the paint context.
void CDialog::EraseIconBackground(CPaintDC& dc) {
    SendMessageW(Hwnd(m_hWnd), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
}

// DefWindowProcW for WM_TIMER: nothing visible happens for a timer without a callback.
void CDialog::OnTimer(uintptr_t id) {
    DefWindowProcW(Hwnd(m_hWnd), WM_TIMER, static_cast<WPARAM>(id), 0);
}

// DefWindowProcW for WM_SYSCOMMAND: the platform's moves, sizes, closes (SC_CLOSE becomes
// WM_CLOSE, which the dialog turns into IDCANCEL).
void CDialog::OnSysCommand(uint32_t command, intptr_t param) {
    DefWindowProcW(Hwnd(m_hWnd), WM_SYSCOMMAND, static_cast<WPARAM>(command),
                   static_cast<LPARAM>(param));
}
