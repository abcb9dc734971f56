#pragma once
// The application object and the start-up services of the framework.
#include "platform/dialog.h"
#include "platform/process.h"

#include <string>

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once by the entry point; FALSE ends the program instead of running a loop.
    virtual bool InitInstance() = 0;

    CDialog* m_pMainWnd = nullptr; // the application's main window, owner of its boxes
};

CWinApp* AfxGetApp();

// Starts Windows Sockets asking for version 1.1 exactly; false when that is not available.
bool AfxSocketInit();
// Control containment for ActiveX controls: the program's dialogs hold none.
void AfxEnableControlContainer();
// A message box with a string resource, captioned with the application's name.
int AfxMessageBox(unsigned stringId, unsigned type = 0);
