// The application object and the start-up services, without a platform behind them.
#include "platform/app.h"
#include "platform/headless/state.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
}
CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

bool AfxSocketInit() {
    headless::CountSocketInit();
    return headless::Options().socketInitSucceeds;
}

void AfxEnableControlContainer() {
    headless::CountControlContainer();
}

int AfxMessageBox(unsigned stringId, unsigned type) {
    const headless::MessageBoxRecord record{g_app ? g_app->m_pMainWnd : nullptr,
                                            headless::StringResource(stringId), kx::AppName(),
                                            type};
    headless::RecordMessageBox(record);
    return headless::RunMessageBoxHook(record);
}
