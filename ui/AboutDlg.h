#pragma once
// The About box, opened from the wizard's system menu. Its OK button and close box end it
// through the framework's OnOK and OnCancel.
#include "platform/dialog.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
    const MessageMapEntry* GetMessageMap() const override;
};
