#pragma once
// The application: starts Windows Sockets and runs the wizard as a modal dialog; the
// program ends when the wizard closes.
#include "platform/app.h"

class CKXWizardApp : public CWinApp {
  public:
    CKXWizardApp() = default;

    // Always false: the program ends after the wizard instead of running a message loop.
    bool InitInstance() override;
};

// The one application object.
extern CKXWizardApp theApp;
