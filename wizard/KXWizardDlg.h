#pragma once
// PLACEHOLDER: the wizard dialog (being written). Public surface fixed here.
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/thread.h"

#include <atomic>
#include <cstdint>

class CSerialPort;

constexpr uintptr_t POLL_TIMER_ID = 2;

class CKXWizardDlg : public CDialog {
  public:
    explicit CKXWizardDlg(CDialog* parent = nullptr);
    ~CKXWizardDlg() override;

    const MessageMapEntry* GetMessageMap() const override;
    bool DestroyWindow() override;
    bool OnInitDialog() override;

    std::atomic<bool> m_bClosing;
    // ... the other fields, in their declared order
};
