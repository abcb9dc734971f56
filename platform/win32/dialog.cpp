// CDialog on USER32: a modeless dialog from the resource template run in a modal loop of
// our own, so that DoModal can call the virtual DestroyWindow once however the dialog ends.
#include "platform/dialog.h"

#include "platform/app.h"
#include "platform/gdi.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace {

HWND Hwnd(kx::WindowHandle h) {
    return static_cast<HWND>(h);
}

// The modal state of a running dialog, kept beside the object so the header stays
// free of Win32 types.
struct ModalState {
    bool ended = false;
    intptr_t result = kx::kIdCancel;
};

CDialog* DialogOf(HWND hwnd) {
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

constexpr wchar_t kStateProp[] = L"KXModalState";

// The state of the dialog DoModal is creating on this thread, attached to its window at
// WM_INITDIALOG, before CreateDialogParamW returns (OnInitDialog may already end it).
thread_local ModalState* t_creating = nullptr;

// Ends the modal loop of the dialog's window with `result`; the posted WM_NULL wakes the
// loop when it is waiting for a message.
void EndModal(kx::WindowHandle h, intptr_t result) {
    HWND hwnd = Hwnd(h);
    if (!hwnd) {
        return;
    }
    if (auto* state = static_cast<ModalState*>(GetPropW(hwnd, kStateProp))) {
        state->ended = true;
        state->result = result;
        PostMessageW(hwnd, WM_NULL, 0, 0);
    }
}

const MessageMapEntry* FindEntry(const CDialog* dlg, MessageKind kind, int id = 0) {
    for (const MessageMapEntry* e = dlg->GetMessageMap(); e && e->kind != MessageKind::End; ++e) {
        if (e->kind == kind && (kind != MessageKind::Clicked || e->id == id)) {
            return e;
        }
    }
    return nullptr;
}

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A dialog that is not visible by style, not placed by its template (DS_CENTER,
// DS_CENTERMOUSE, DS_ABSALIGN) and not moved by OnInitDialog is centred over its owner,
// or over the work area when it has none.
void CentreIfUnplaced(HWND hwnd, const RECT& before) {
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if ((style & WS_VISIBLE) || (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) ||
        !SameRect(before, WindowRectOf(hwnd))) {
        return;
    }
    RECT area{};
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner) {
        area = WindowRectOf(owner);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int w = before.right - before.left;
    const int h = before.bottom - before.top;
    SetWindowPos(hwnd, nullptr, area.left + ((area.right - area.left) - w) / 2,
                 area.top + ((area.bottom - area.top) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR InitDialog(HWND hwnd, CDialog* dlg) {
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dlg));
    if (t_creating) {
        SetPropW(hwnd, kStateProp, t_creating);
        t_creating = nullptr;
    }
    dlg->m_hWnd = hwnd;
    const RECT before = WindowRectOf(hwnd);
    const bool focusDefault = dlg->OnInitDialog();
    if (IsWindow(hwnd)) {
        CentreIfUnplaced(hwnd, before);
    }
    return focusDefault ? TRUE : FALSE;
}

INT_PTR Command(CDialog* dlg, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    const int id = LOWORD(wParam);
    if (const MessageMapEntry* e = FindEntry(dlg, MessageKind::Clicked, id)) {
        (dlg->*(e->onVoid))();
        return TRUE;
    }
    if (id == IDOK) {
        dlg->OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        dlg->OnCancel();
        return TRUE;
    }
    return FALSE;
}

// Routes the messages the layer knows through the message map; FALSE leaves a message to
// the platform's default dialog processing.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        return InitDialog(hwnd, reinterpret_cast<CDialog*>(lParam));
    }
    CDialog* dlg = DialogOf(hwnd);
    if (!dlg) {
        return FALSE;
    }
    switch (msg) {
    case WM_COMMAND:
        return Command(dlg, wParam);
    case WM_TIMER:
        if (const MessageMapEntry* e = FindEntry(dlg, MessageKind::Timer)) {
            (dlg->*(e->onTimer))(static_cast<uintptr_t>(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        if (const MessageMapEntry* e = FindEntry(dlg, MessageKind::Paint)) {
            (dlg->*(e->onVoid))();
            return TRUE;
        }
        return FALSE;
    case WM_SYSCOMMAND:
        if (const MessageMapEntry* e = FindEntry(dlg, MessageKind::SysCommand)) {
            (dlg->*(e->onSysCommand))(static_cast<uint32_t>(wParam), static_cast<intptr_t>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns directly.
        if (const MessageMapEntry* e = FindEntry(dlg, MessageKind::QueryDragIcon)) {
            return reinterpret_cast<INT_PTR>((dlg->*(e->onQueryDragIcon))());
        }
        return FALSE;
    default:
        return FALSE;
    }
}

HWND OwnerFor(const CDialog* dlg, CDialog* parent) {
    if (parent) {
        return Hwnd(parent->m_hWnd);
    }
    // Like the framework: a dialog without a parent is owned by the application's main
    // window (the About box by the wizard), unless it is that window itself.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != dlg) {
        return Hwnd(app->m_pMainWnd->m_hWnd);
    }
    return nullptr;
}

// Pumps messages until the dialog ends or its window disappears. IsDialogMessageW gives
// the dialog its keyboard interface (Tab, Enter, Escape as IDCANCEL).
void RunModalLoop(HWND hwnd, const ModalState& state) {
    MSG msg;
    while (!state.ended && IsWindow(hwnd)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave WM_QUIT for outer loops
            return;
        }
        if (got < 0) {
            return;
        }
        if (!IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace

CDialog::CDialog(unsigned templateId, CDialog* parent)
    : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

const MessageMapEntry* CDialog::GetMessageMap() const {
    static const MessageMapEntry none[] = {MapEnd()};
    return none;
}

// DestroyWindow on the dialog; the application forgets it as its main window.
bool CDialog::DestroyWindow() {
    if (!m_hWnd) {
        return false;
    }
    HWND hwnd = Hwnd(m_hWnd);
    m_hWnd = nullptr;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
    }
    if (!IsWindow(hwnd)) {
        return false;
    }
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return ::DestroyWindow(hwnd) != FALSE;
}

bool CDialog::OnInitDialog() {
    return true;
}

// CreateDialogParamW from the template, the owner disabled while the loop runs, then the
// virtual DestroyWindow exactly once.
intptr_t CDialog::DoModal() {
    HWND owner = OwnerFor(this, m_pParentWnd);
    ModalState state;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    t_creating = &state;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId),
                                   owner, DialogProc, reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    if (hwnd) {
        if (disableOwner) {
            EnableWindow(owner, FALSE);
        }
        if (!state.ended && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)) {
            ShowWindow(hwnd, SW_SHOWNORMAL);
        }
        RunModalLoop(hwnd, state);
        if (IsWindow(hwnd)) {
            // Hide first and re-enable the owner before the window goes, so that the
            // owner, not some other application, becomes active again.
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RemovePropW(hwnd, kStateProp);
        }
        if (disableOwner) {
            EnableWindow(owner, TRUE);
        }
    } else {
        state.result = -1;
    }
    DestroyWindow();
    return state.result;
}

void CDialog::OnOK() {
    EndModal(m_hWnd, kx::kIdOk);
}

void CDialog::OnCancel() {
    EndModal(m_hWnd, kx::kIdCancel);
}
