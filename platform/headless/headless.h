#pragma once
// The window layer without a screen: what tests see of it and how they drive it.
// Each dialog's window is a plain record (texts, visibility, rectangles, timers, paints);
// messages reach the dialog's handlers through its message map, as a window procedure
// would deliver them. Message boxes and DoModal return at once unless a test's hook acts
// as their modal loop (delivering ticks or clicks meanwhile).
#include "platform/dialog.h"
#include "platform/gdi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace headless {

struct Control {
    std::string text;
    bool visible = true; // template controls are WS_VISIBLE
    CRect rect;          // client coordinates of the dialog
    void* font = nullptr;
};

struct MenuItem {
    bool separator = false;
    unsigned command = 0;
    std::string text;
};

struct Blit {
    int x, y, width, height;
    unsigned bitmapId; // the picture selected into the source context
    int srcX, srcY;
};

struct IconDraw {
    int x, y;
    kx::IconHandle icon;
};

// One dialog's window, from creation (DoModal or Open) until the dialog object goes.
struct Window {
    std::string title;
    CRect rect; // outer rectangle on the screen
    bool iconic = false;
    bool destroyed = false;
    bool ended = false;
    intptr_t result = 0;
    kx::IconHandle bigIcon = nullptr;
    kx::IconHandle smallIcon = nullptr;
    int defaultId = 0;
    std::map<int, Control> controls;      // a control appears when first addressed
    std::map<uintptr_t, uint32_t> timers; // running timers: identifier -> period
    std::vector<bool> invalidations;      // the erase flag of each Invalidate
    bool hasSystemMenu = false;
    std::vector<MenuItem> systemMenu;
    int defaultTimerCalls = 0; // CDialog::OnTimer, the framework's default processing
    std::vector<std::pair<uint32_t, intptr_t>> defaultSysCommands;
    int iconBackgroundErases = 0;
    int paints = 0; // completed BeginPaint/EndPaint pairs
    std::vector<Blit> blits;
    std::vector<IconDraw> iconDraws;

    Control& Item(int id);
};

struct MessageBoxRecord {
    CDialog* owner; // nullptr for the framework's AfxMessageBox without a main window
    std::string text;
    std::string caption;
    unsigned type;
};

struct FontRecord {
    int height, width, escapement, orientation, weight;
    bool italic, underline, strikeOut;
    uint8_t charSet, outPrecision, clipPrecision, quality, pitchAndFamily;
    std::string face;
};

// Settings for windows created from now on, and for the start-up services.
struct Settings {
    int controlWidth = 63; // every control's template size in pixels
    int controlHeight = 28;
    int frameWidth = 0; // modal frame on each side: client area = outer size - 2 x frame
    bool systemMenu = false;
    bool socketInitSucceeds = true;
};

// Back to defaults: settings, string resources, hooks, records. Call at the start of a test.
void Reset();
Settings& Options();
void SetStringResource(unsigned id, const std::string& text);

// The window of a dialog; nullptr before it was created.
Window* Find(const CDialog& dialog);
Window& State(const CDialog& dialog); // the window must exist

// What DoModal does before its loop (create the window, OnInitDialog) and after it
// (DestroyWindow, the end result). Tests drive the dialog in between.
void Open(CDialog& dialog);
intptr_t Finish(CDialog& dialog);

// Messages, delivered through the dialog's message map. False when nothing received it
// (no window, window destroyed, timer not running, no handler).
bool Click(CDialog& dialog, int id); // BN_CLICKED; IDOK and IDCANCEL reach OnOK/OnCancel
bool Tick(CDialog& dialog, uintptr_t timerId);
bool Paint(CDialog& dialog);
bool SysCommand(CDialog& dialog, uint32_t command, intptr_t param);
kx::IconHandle QueryDragIcon(CDialog& dialog);

// Modal loops. The message box hook runs while a box is "open"; the modal hook runs as the
// loop of DoModal (a dialog it leaves running is ended with kIdCancel, like a closed box).
using MessageBoxHook = std::function<void(const MessageBoxRecord&)>;
using ModalHook = std::function<void(CDialog&)>;
void SetMessageBoxHook(MessageBoxHook hook);
void SetModalHook(ModalHook hook);
const std::vector<MessageBoxRecord>& MessageBoxes();

const FontRecord* Font(const void* fontHandle);
int LiveGdiObjects(); // fonts, bitmaps and memory contexts not yet deleted
int SocketInitCalls();
int ControlContainerCalls();

} // namespace headless
