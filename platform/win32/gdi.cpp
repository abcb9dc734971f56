// Fonts, bitmaps, icons, strings, menus and painting on GDI32/USER32.
#include "platform/gdi.h"

#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace {

HINSTANCE Module() {
    return GetModuleHandleW(nullptr);
}

HDC Hdc(void* h) {
    return static_cast<HDC>(h);
}

} // namespace

namespace kx {

// LoadIconW: a shared icon at the system's icon size, never destroyed.
IconHandle LoadIconResource(unsigned id) {
    return LoadIconW(Module(), MAKEINTRESOURCEW(id));
}

// LoadStringW with a zero length hands out the resource's own text, whatever its length.
std::string LoadStringResource(unsigned id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(Module(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) {
        return std::string();
    }
    return NarrowText(std::wstring(text, static_cast<size_t>(length)));
}

int SystemIconWidth() {
    return GetSystemMetrics(SM_CXICON);
}

int SystemIconHeight() {
    return GetSystemMetrics(SM_CYICON);
}

void AppendMenuSeparator(MenuHandle menu) {
    AppendMenuW(static_cast<HMENU>(menu), MF_SEPARATOR, 0, nullptr);
}

void AppendMenuString(MenuHandle menu, unsigned command, const std::string& text) {
    AppendMenuW(static_cast<HMENU>(menu), MF_STRING, command, WidenText(text).c_str());
}

} // namespace kx

// CreateFontW.
bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       bool italic, bool underline, bool strikeOut, uint8_t charSet,
                       uint8_t outPrecision, uint8_t clipPrecision, uint8_t quality,
                       uint8_t pitchAndFamily, const std::string& face) {
    DeleteObject();
    m_hObject = CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                            strikeOut, charSet, outPrecision, clipPrecision, quality,
                            pitchAndFamily, kx::WidenText(face).c_str());
    return m_hObject != nullptr;
}

void CFont::DeleteObject() {
    if (m_hObject) {
        ::DeleteObject(static_cast<HGDIOBJ>(m_hObject));
        m_hObject = nullptr;
    }
}

// LoadBitmapW from the program's resources.
bool CBitmap::LoadBitmap(unsigned id) {
    DeleteObject();
    m_hObject = LoadBitmapW(Module(), MAKEINTRESOURCEW(id));
    return m_hObject != nullptr;
}

void CBitmap::DeleteObject() {
    if (m_hObject) {
        ::DeleteObject(static_cast<HGDIOBJ>(m_hObject));
        m_hObject = nullptr;
    }
}

// BeginPaint / EndPaint.
CPaintDC::CPaintDC(CDialog* window) : m_pWindow(window), m_paint(new PAINTSTRUCT{}) {
    m_hDC = BeginPaint(static_cast<HWND>(m_pWindow->m_hWnd), static_cast<PAINTSTRUCT*>(m_paint));
}

CPaintDC::~CPaintDC() {
    auto* paint = static_cast<PAINTSTRUCT*>(m_paint);
    EndPaint(static_cast<HWND>(m_pWindow->m_hWnd), paint);
    delete paint;
}

void CPaintDC::DrawIcon(int x, int y, kx::IconHandle icon) {
    ::DrawIcon(Hdc(m_hDC), x, y, static_cast<HICON>(icon));
}

// BitBlt with SRCCOPY.
void CPaintDC::BitBlt(int x, int y, int width, int height, CMemoryDC& source, int srcX, int srcY) {
    ::BitBlt(Hdc(m_hDC), x, y, width, height, Hdc(source.m_hDC), srcX, srcY, SRCCOPY);
}

// CreateCompatibleDC / DeleteDC.
CMemoryDC::CMemoryDC(CPaintDC& compatible) : m_hDC(CreateCompatibleDC(Hdc(compatible.m_hDC))) {}

CMemoryDC::~CMemoryDC() {
    if (m_hOldBitmap) {
        SelectObject(Hdc(m_hDC), static_cast<HGDIOBJ>(m_hOldBitmap));
    }
    DeleteDC(Hdc(m_hDC));
}

// SelectObject; the DC's own bitmap is kept to be put back before the DC is deleted, so
// that the selected bitmap can be deleted afterwards.
void CMemoryDC::SelectBitmap(CBitmap& bitmap) {
    HGDIOBJ previous = SelectObject(Hdc(m_hDC), static_cast<HGDIOBJ>(bitmap.m_hObject));
    if (!m_hOldBitmap) {
        m_hOldBitmap = previous;
    }
}
