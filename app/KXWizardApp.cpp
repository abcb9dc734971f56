#include "app/KXWizardApp.h"

#include "ui/resource.h"
#include "wizard/KXWizardDlg.h"

CKXWizardApp theApp;

bool CKXWizardApp::InitInstance() {
    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return false;
    }
    AfxEnableControlContainer();

    CKXWizardDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return false;
}
