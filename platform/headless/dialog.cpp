// CDialog without a screen: every window operation reads or writes the window's record.
#include "platform/app.h"
#include "platform/headless/state.h"

using headless::LiveWindow;

CDialog::CDialog(unsigned templateId, CDialog* parent)
    : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    headless::ForgetWindow(*this);
}

const MessageMapEntry* CDialog::GetMessageMap() const {
    static const MessageMapEntry entries[] = {MapEnd()};
    return entries;
}

bool CDialog::DestroyWindow() {
    headless::Window* window = LiveWindow(this);
    if (!window)
        return false;
    window->destroyed = true;
    window->timers.clear();
    m_hWnd = nullptr;
    // As the framework does: the application's main window is gone with it.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    return true;
}

bool CDialog::OnInitDialog() {
    return true;
}

intptr_t CDialog::DoModal() {
    headless::Open(*this);
    headless::RunModalHook(*this);
    return headless::Finish(*this);
}

void CDialog::OnOK() {
    if (headless::Window* window = LiveWindow(this)) {
        window->ended = true;
        window->result = kx::kIdOk;
    }
}

void CDialog::OnCancel() {
    if (headless::Window* window = LiveWindow(this)) {
        window->ended = true;
        window->result = kx::kIdCancel;
    }
}

void CDialog::ShowDlgItem(int id, bool show) {
    if (headless::Window* window = LiveWindow(this))
        window->Item(id).visible = show;
}

std::string CDialog::GetDlgItemText(int id) const {
    headless::Window* window = LiveWindow(this);
    return window ? window->Item(id).text : std::string();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (headless::Window* window = LiveWindow(this))
        window->Item(id).text = text;
}

void CDialog::SetDlgItemInt(int id, int value) {
    SetDlgItemText(id, std::to_string(value));
}

CRect CDialog::GetDlgItemRect(int id) const {
    headless::Window* window = LiveWindow(this);
    return window ? window->Item(id).rect : CRect();
}

void CDialog::MoveDlgItem(int id, int x, int y, int width, int height, bool) {
    if (headless::Window* window = LiveWindow(this))
        window->Item(id).rect = {x, y, x + width, y + height};
}

void CDialog::SetDlgItemFont(int id, const CFont& font, bool) {
    if (headless::Window* window = LiveWindow(this))
        window->Item(id).font = font.m_hObject;
}

void CDialog::SetDefID(int id) {
    if (headless::Window* window = LiveWindow(this))
        window->defaultId = id;
}

void CDialog::SetWindowText(const std::string& text) {
    if (headless::Window* window = LiveWindow(this))
        window->title = text;
}

CRect CDialog::GetClientRect() const {
    headless::Window* window = LiveWindow(this);
    if (!window)
        return CRect();
    const int frame = headless::Options().frameWidth;
    return {0, 0, window->rect.Width() - 2 * frame, window->rect.Height() - 2 * frame};
}

void CDialog::MoveWindow(int x, int y, int width, int height, bool) {
    if (headless::Window* window = LiveWindow(this))
        window->rect = {x, y, x + width, y + height};
}

bool CDialog::IsIconic() const {
    headless::Window* window = LiveWindow(this);
    return window && window->iconic;
}

void CDialog::Invalidate(bool erase) {
    if (headless::Window* window = LiveWindow(this))
        window->invalidations.push_back(erase);
}

void CDialog::SetIcon(kx::IconHandle icon, bool big) {
    if (headless::Window* window = LiveWindow(this))
        (big ? window->bigIcon : window->smallIcon) = icon;
}

void CDialog::SetTimer(uintptr_t id, uint32_t ms) {
    if (headless::Window* window = LiveWindow(this))
        window->timers[id] = ms;
}

void CDialog::KillTimer(uintptr_t id) {
    if (headless::Window* window = LiveWindow(this))
        window->timers.erase(id);
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    const headless::MessageBoxRecord record{this, text, caption, type};
    headless::RecordMessageBox(record);
    return headless::RunMessageBoxHook(record);
}

kx::MenuHandle CDialog::GetSystemMenu() const {
    headless::Window* window = LiveWindow(this);
    return window && window->hasSystemMenu ? &window->systemMenu : nullptr;
}

void CDialog::EraseIconBackground(CPaintDC&) {
    if (headless::Window* window = LiveWindow(this))
        ++window->iconBackgroundErases;
}

void CDialog::OnTimer(uintptr_t) {
    if (headless::Window* window = LiveWindow(this))
        ++window->defaultTimerCalls;
}

void CDialog::OnSysCommand(uint32_t command, intptr_t param) {
    if (headless::Window* window = LiveWindow(this))
        window->defaultSysCommands.emplace_back(command, param);
}
