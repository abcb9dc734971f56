#pragma once
// The wizard: one modal dialog that holds the state of a run (page, discovery counters,
// the open serial channel, the reply buffer) and routes the tick and the buttons to it.
// Window side in ui/, controller in wizard/.
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/thread.h"

#include <atomic>
#include <cstdint>
#include <memory>

class CSerialPort;

constexpr uintptr_t POLL_TIMER_ID = 2;

class CKXWizardDlg : public CDialog {
  public:
    explicit CKXWizardDlg(CDialog* parent = nullptr);
    ~CKXWizardDlg() override;

    const MessageMapEntry* GetMessageMap() const override;
    bool DestroyWindow() override;
    bool OnInitDialog() override;

    // The process-wide tick values start at 0 with the program; tests start each run so.
    static void ResetTickStateForTesting();

    // Reply buffer size, with its NUL.
    static constexpr int32_t REPLY_SIZE = 2000;

    // Read by the web notice probe when it starts; written at shutdown.
    std::atomic<bool> m_bClosing;
    kx::IconHandle m_hIcon;
    int32_t m_nPage;       // 0 welcome, 1 connecting, 2 unit page; only grows
    int32_t m_nScanStart;  // port number where the next scan begins, 0..100
    int32_t m_nTicks;      // page 1: fruitless reads; page 2: capture window count
    int32_t m_nScanRounds; // scans since page 1 was entered that opened nothing
    std::unique_ptr<CSerialPort> m_pPort;
    char m_szReply[REPLY_SIZE];
    kx::ThreadHandle m_hWebThread;
    CFont m_font;

  protected:
    // Pages and buttons.
    void OnNext();
    void UpdatePage();
    void OnShowCalOptions();
    void OnExit();
    void OnStoreDate();
    void OnStoreOffset();
    void OnCalculateOffset();
    // The 100 ms tick.
    void OnTimer(uintptr_t id);
    // Painting and the system menu.
    void OnPaint();
    void OnSysCommand(uint32_t command, intptr_t param);
    kx::IconHandle OnQueryDragIcon();

  private:
    void AdvancePage();
    enum class DiscoveryOutcome { Continue, UnitFound, GaveUp };
    DiscoveryOutcome DiscoveryStep();
    DiscoveryOutcome ReadBanner();
    DiscoveryOutcome Scan();
    void Query();
    void CaptureStep();
    void CountCaptureSecond();
    void AppendToReply(const char* bytes, int32_t count);
    void SendCommand(const char* command);
    void ApplyPageResets();
    void LayOutControls();
};
