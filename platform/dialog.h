#pragma once
// The dialog window the wizard is built on: a modal dialog from a resource template,
// its controls addressed by identifier, and a message map that routes window messages
// to the dialog's handlers. Windows: thin wrappers over USER32. Native builds: a window
// layer without a screen (platform/headless), driven by tests.
//
// Texts crossing this layer are UTF-8; the Windows backend uses the wide-character calls.
#include <cstdint>
#include <string>

namespace kx {
using WindowHandle = void*; // HWND
using IconHandle = void*;   // HICON (also returned as the drag cursor)
using MenuHandle = void*;   // HMENU

// Results of DoModal.
constexpr intptr_t kIdOk = 1;
constexpr intptr_t kIdCancel = 2;
} // namespace kx

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

class CDialog;
class CFont;
class CPaintDC;

// One route of the message map. The helpers below build entries from the derived class's
// handlers; the map is an array that ends with MapEnd().
enum class MessageKind { End, Clicked, Timer, Paint, SysCommand, QueryDragIcon };

struct MessageMapEntry {
    MessageKind kind = MessageKind::End;
    int id = 0; // control identifier, for Clicked (BN_CLICKED in WM_COMMAND)
    void (CDialog::*onVoid)() = nullptr;                         // Clicked, Paint
    void (CDialog::*onTimer)(uintptr_t) = nullptr;               // Timer (WM_TIMER)
    void (CDialog::*onSysCommand)(uint32_t, intptr_t) = nullptr; // SysCommand
    kx::IconHandle (CDialog::*onQueryDragIcon)() = nullptr;      // QueryDragIcon
};

template <class D> MessageMapEntry MapClicked(int id, void (D::*handler)()) {
    MessageMapEntry e;
    e.kind = MessageKind::Clicked;
    e.id = id;
    e.onVoid = static_cast<void (CDialog::*)()>(handler);
    return e;
}
template <class D> MessageMapEntry MapPaint(void (D::*handler)()) {
    MessageMapEntry e;
    e.kind = MessageKind::Paint;
    e.onVoid = static_cast<void (CDialog::*)()>(handler);
    return e;
}
template <class D> MessageMapEntry MapTimer(void (D::*handler)(uintptr_t)) {
    MessageMapEntry e;
    e.kind = MessageKind::Timer;
    e.onTimer = static_cast<void (CDialog::*)(uintptr_t)>(handler);
    return e;
}
template <class D> MessageMapEntry MapSysCommand(void (D::*handler)(uint32_t, intptr_t)) {
    MessageMapEntry e;
    e.kind = MessageKind::SysCommand;
    e.onSysCommand = static_cast<void (CDialog::*)(uint32_t, intptr_t)>(handler);
    return e;
}
template <class D> MessageMapEntry MapQueryDragIcon(kx::IconHandle (D::*handler)()) {
    MessageMapEntry e;
    e.kind = MessageKind::QueryDragIcon;
    e.onQueryDragIcon = static_cast<kx::IconHandle (CDialog::*)()>(handler);
    return e;
}
inline MessageMapEntry MapEnd() {
    return MessageMapEntry{};
}

class CDialog {
  public:
    // Binds the object to a dialog template; the window is created by DoModal.
    explicit CDialog(unsigned templateId, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // The message-map accessor. IDOK and IDCANCEL commands (Enter on a default OK button,
    // Escape, the close command) always reach OnOK and OnCancel.
    virtual const MessageMapEntry* GetMessageMap() const;
    // The framework's window destruction; DoModal calls it once, however the dialog ends.
    virtual bool DestroyWindow();
    // Called once after the window and its controls exist, before the window is shown.
    virtual bool OnInitDialog();

    // Creates the window, disables the owner, runs the modal loop until EndDialog,
    // calls DestroyWindow, and returns the end result (kIdOk, kIdCancel).
    intptr_t DoModal();
    void OnOK();     // ends the modal loop with kIdOk
    void OnCancel(); // ends the modal loop with kIdCancel

    // Controls by identifier.
    void ShowDlgItem(int id, bool show); // SW_SHOW / SW_HIDE
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void SetDlgItemInt(int id, int value); // as a signed decimal integer
    CRect GetDlgItemRect(int id) const;    // the control's window rectangle
    void MoveDlgItem(int id, int x, int y, int width, int height, bool repaint = true);
    void SetDlgItemFont(int id, const CFont& font, bool redraw = true); // WM_SETFONT
    void SetDefID(int id);                                              // DM_SETDEFID

    // The window itself.
    void SetWindowText(const std::string& text);
    CRect GetClientRect() const;
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    bool IsIconic() const;
    void Invalidate(bool erase = true);
    void SetIcon(kx::IconHandle icon, bool big); // WM_SETICON, ICON_BIG or ICON_SMALL
    void SetTimer(uintptr_t id, uint32_t ms);    // no callback: ticks arrive as WM_TIMER
    void KillTimer(uintptr_t id);
    // Modal message box owned by this window; returns when it is dismissed. Timer ticks
    // keep reaching the window meanwhile. type 0: only an OK button, no icon.
    int MessageBox(const std::string& text, const std::string& caption, unsigned type = 0);
    // The system menu as it is (GetSystemMenu without revert); nullptr when there is none.
    kx::MenuHandle GetSystemMenu() const;
    // Sends WM_ICONERASEBKGND with the paint context, so the platform erases under the icon.
    void EraseIconBackground(CPaintDC& dc);

    // Default processing of messages that a handler passes on.
    void OnTimer(uintptr_t id);
    void OnSysCommand(uint32_t command, intptr_t param);

    kx::WindowHandle m_hWnd = nullptr;

  protected:
    unsigned m_nTemplateId;
    CDialog* m_pParentWnd;
};
