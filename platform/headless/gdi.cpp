// Inert GDI objects: each keeps what it was made from, so tests can look at it.
#include "platform/headless/state.h"

namespace kx {

IconHandle LoadIconResource(unsigned id) {
    // Shared resource icons are never destroyed: one stable record per identifier.
    static std::map<unsigned, unsigned> icons;
    return &(icons[id] = id);
}

std::string LoadStringResource(unsigned id) {
    return headless::StringResource(id);
}
int SystemIconWidth() {
    return 32;
}
int SystemIconHeight() {
    return 32;
}

void AppendMenuSeparator(MenuHandle menu) {
    static_cast<std::vector<headless::MenuItem>*>(menu)->push_back({true, 0, std::string()});
}

void AppendMenuString(MenuHandle menu, unsigned command, const std::string& text) {
    static_cast<std::vector<headless::MenuItem>*>(menu)->push_back({false, command, text});
}

} // namespace kx

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       bool italic, bool underline, bool strikeOut, uint8_t charSet,
                       uint8_t outPrecision, uint8_t clipPrecision, uint8_t quality,
                       uint8_t pitchAndFamily, const std::string& face) {
    DeleteObject();
    m_hObject = new headless::FontRecord{
        height,    width,   escapement,   orientation,   weight,  italic,         underline,
        strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face};
    headless::ChangeLiveGdiObjects(+1);
    return true;
}

void CFont::DeleteObject() {
    if (!m_hObject)
        return;
    delete static_cast<headless::FontRecord*>(m_hObject);
    m_hObject = nullptr;
    headless::ChangeLiveGdiObjects(-1);
}

bool CBitmap::LoadBitmap(unsigned id) {
    DeleteObject();
    m_hObject = new headless::BitmapRecord{id};
    headless::ChangeLiveGdiObjects(+1);
    return true;
}

void CBitmap::DeleteObject() {
    if (!m_hObject)
        return;
    delete static_cast<headless::BitmapRecord*>(m_hObject);
    m_hObject = nullptr;
    headless::ChangeLiveGdiObjects(-1);
}

CPaintDC::CPaintDC(CDialog* window) : m_pWindow(window), m_paint(nullptr) {
    m_hDC = this;
}

CPaintDC::~CPaintDC() {
    if (headless::Window* window = headless::LiveWindow(m_pWindow))
        ++window->paints;
}

void CPaintDC::DrawIcon(int x, int y, kx::IconHandle icon) {
    if (headless::Window* window = headless::LiveWindow(m_pWindow))
        window->iconDraws.push_back({x, y, icon});
}

void CPaintDC::BitBlt(int x, int y, int width, int height, CMemoryDC& source, int srcX, int srcY) {
    const unsigned bitmapId = static_cast<headless::MemoryDCRecord*>(source.m_hDC)->bitmapId;
    if (headless::Window* window = headless::LiveWindow(m_pWindow))
        window->blits.push_back({x, y, width, height, bitmapId, srcX, srcY});
}

CMemoryDC::CMemoryDC(CPaintDC&) {
    m_hDC = new headless::MemoryDCRecord;
    headless::ChangeLiveGdiObjects(+1);
}

CMemoryDC::~CMemoryDC() {
    delete static_cast<headless::MemoryDCRecord*>(m_hDC);
    headless::ChangeLiveGdiObjects(-1);
}

void CMemoryDC::SelectBitmap(CBitmap& bitmap) {
    auto* record = static_cast<headless::MemoryDCRecord*>(m_hDC);
    record->bitmapId =
        bitmap.m_hObject ? static_cast<headless::BitmapRecord*>(bitmap.m_hObject)->id : 0;
    m_hOldBitmap = nullptr;
}
