// The unit page: the Query, the command-send rule that every later command follows, and
// the capture of the unit's answer into the reply buffer and the console.
#include "serial/SerialPort.h"
#include "serial/UnitCommands.h"
#include "ui/resource.h"
#include "wizard/ConsoleText.h"
#include "wizard/KXWizardDlg.h"

#include <cstring>
#include <string>

namespace {
constexpr int32_t kDrainSize = 100;
constexpr int32_t kChunkSize = 99;       // plus its NUL
constexpr int32_t kCaptureWindowEnd = 6; // m_nTicks value at which the window closes
} // namespace

void CKXWizardDlg::Query() {
    SetDlgItemText(IDC_CONSOLE, "");
    SendCommand(UnitCommands::kQuery);
}

void CKXWizardDlg::SendCommand(const char* command) {
    if (!m_pPort)
        return;
    // What the unit sent before this command must not reach the reply.
    char drain[kDrainSize];
    while (m_pPort->Read(drain, kDrainSize) > 0) {
    }
    m_pPort->Write(command, -1);
    m_nTicks = 0;
    m_szReply[0] = '\0';
}

void CKXWizardDlg::AppendToReply(const char* bytes, int32_t count) {
    const size_t length = std::strlen(m_szReply);
    // A chunk that does not fit is left out whole, never cut.
    if (length + static_cast<size_t>(count) >= static_cast<size_t>(REPLY_SIZE))
        return;
    std::memcpy(m_szReply + length, bytes, static_cast<size_t>(count));
    m_szReply[length + static_cast<size_t>(count)] = '\0';
}

void CKXWizardDlg::CaptureStep() {
    if (m_nTicks < 0 || m_nTicks >= kCaptureWindowEnd)
        return;
    if (m_pPort) {
        char chunk[kChunkSize + 1];
        const int32_t count = m_pPort->Read(chunk, kChunkSize);
        if (count > 0) {
            AppendToReply(chunk, count);
            chunk[count] = '\0';
            // The console takes the chunk as text: up to a NUL byte, if one came.
            SetDlgItemText(IDC_CONSOLE,
                           ConsoleText::ToConsoleLineEnds(GetDlgItemText(IDC_CONSOLE) + chunk));
        }
    }
    CountCaptureSecond();
}
