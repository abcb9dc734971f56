// The application object, the entry point and the framework's start-up services on
// Win32 and Winsock. The entry point lives here, with CWinApp, so that linking the
// program's application class always brings it in.
#include "platform/app.h"

#include "platform/gdi.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

#include <cstdlib>
#include <winsock2.h>

namespace {

CWinApp* g_app = nullptr;

void CleanUpSockets() {
    WSACleanup();
}

} // namespace

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return g_app;
}

// WSAStartup for exactly version 1.1; WSACleanup at exit.
bool AfxSocketInit() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        return false;
    }
    if (data.wVersion != MAKEWORD(1, 1)) {
        WSACleanup();
        return false;
    }
    std::atexit(CleanUpSockets);
    return true;
}

// ActiveX hosting in dialogs needs nothing here: the program's dialogs hold no ActiveX
// control, and plain Win32 dialogs host their standard controls by themselves.
void AfxEnableControlContainer() {}

// MessageBoxW with the string resource, captioned with the application's name and owned
// by the main window. Without an icon in `type`, an OK box gets the exclamation icon.
int AfxMessageBox(unsigned stringId, unsigned type) {
    if ((type & MB_ICONMASK) == 0 && (type & MB_TYPEMASK) == MB_OK) {
        type |= MB_ICONEXCLAMATION;
    }
    HWND owner = nullptr;
    if (g_app && g_app->m_pMainWnd) {
        owner = static_cast<HWND>(g_app->m_pMainWnd->m_hWnd);
    }
    return MessageBoxW(owner, kx::WidenText(kx::LoadStringResource(stringId)).c_str(),
                       kx::WidenText(kx::AppName()).c_str(), type);
}

// The program's whole run happens inside InitInstance (the modal wizard); no message loop
// of the entry point's own follows it. The program sets no exit status of its own.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (g_app) {
        g_app->InitInstance();
    }
    return 0;
}
