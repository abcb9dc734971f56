#pragma once
// The web notice probe: one GET request for the maker's notice page at start-up, on a
// thread of its own so that the wizard never waits for the network.
#include <cstdint>

class CHttpFile;

// Thread routine (kx::ThreadRoutine); `dialog` is the CKXWizardDlg. Reads only its
// m_bClosing, once, before anything else. Returns 0 on every path.
uint32_t WebProbeThread(void* dialog);

// After the request has been sent: 0 when "MERIDOTTA-WARNING" occurs anywhere in the
// response's header block (case-sensitive), otherwise the numeric status code, or 0 when the
// status cannot be read. A header block that cannot be read (larger than the 4096-byte
// buffer) counts as one without the marker.
uint32_t CheckWarningHeader(CHttpFile& request);
