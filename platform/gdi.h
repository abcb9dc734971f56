#pragma once
// Fonts, pictures, icons, menus and painting: the few GDI/USER32 pieces the wizard uses.
// Native builds keep them as inert objects.
#include "platform/dialog.h"

#include <cstdint>
#include <string>

namespace kx {
// CreateFont arguments that the wizard uses.
constexpr int kFwLight = 300;
constexpr uint8_t kDefaultCharset = 1;
constexpr uint8_t kOutDefaultPrecis = 0;
constexpr uint8_t kClipDefaultPrecis = 0;
constexpr uint8_t kDefaultQuality = 0;
constexpr uint8_t kDefaultPitchDontCare = 0; // DEFAULT_PITCH | FF_DONTCARE

IconHandle LoadIconResource(unsigned id);    // the program's icon resource
std::string LoadStringResource(unsigned id); // "" when missing
int SystemIconWidth();                       // SM_CXICON
int SystemIconHeight();                      // SM_CYICON
void AppendMenuSeparator(MenuHandle menu);   // MF_SEPARATOR
void AppendMenuString(MenuHandle menu, unsigned command, const std::string& text); // MF_STRING
} // namespace kx

class CFont {
  public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    bool CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                    bool underline, bool strikeOut, uint8_t charSet, uint8_t outPrecision,
                    uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily,
                    const std::string& face);
    void DeleteObject();

    void* m_hObject = nullptr; // HFONT
};

class CBitmap {
  public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    bool LoadBitmap(unsigned id); // from the program's resources
    void DeleteObject();

    void* m_hObject = nullptr; // HBITMAP
};

class CMemoryDC;

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC {
  public:
    explicit CPaintDC(CDialog* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    void DrawIcon(int x, int y, kx::IconHandle icon);
    // SRCCOPY of a width x height block from (srcX, srcY) of `source` to (x, y) here.
    void BitBlt(int x, int y, int width, int height, CMemoryDC& source, int srcX, int srcY);

    void* m_hDC = nullptr; // HDC

  private:
    CDialog* m_pWindow;
    void* m_paint; // PAINTSTRUCT
};

// A memory device context compatible with a paint context; deleted by the destructor.
class CMemoryDC {
  public:
    explicit CMemoryDC(CPaintDC& compatible);
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    void SelectBitmap(CBitmap& bitmap); // the previous bitmap is put back before deletion

    void* m_hDC = nullptr; // HDC

  private:
    void* m_hOldBitmap = nullptr;
};
