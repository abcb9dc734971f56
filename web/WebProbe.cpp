#include "web/WebProbe.h"

#include "platform/http.h"
#include "wizard/KXWizardDlg.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// The maker's web host, fixed when the program is built.
constexpr const char* kWebHost = KX_WEB_HOST;
constexpr uint16_t kWebPort = KX_WEB_PORT;
constexpr const char* kNoticePage = "kxwizard.html";
constexpr const char* kNoticeMarker = "MERIDOTTA-WARNING";

void SendNoticeRequest() {
    CInternetSession session;
    const std::unique_ptr<CHttpConnection> connection =
        session.GetHttpConnection(kWebHost, kWebPort);
    if (!connection) {
        return;
    }
    const std::unique_ptr<CHttpFile> request =
        connection->OpenRequest("GET", kNoticePage, INTERNET_FLAG_EXISTING_CONNECT);
    if (!request) {
        return;
    }
    request->SendRequest();
    CheckWarningHeader(*request); // nothing acts on the notice yet
}

} // namespace

uint32_t WebProbeThread(void* dialog) {
    // The only look at the dialog: the window may be gone at any moment after this.
    if (static_cast<CKXWizardDlg*>(dialog)->m_bClosing) {
        return 0;
    }
    try {
        SendNoticeRequest();
    } catch (CInternetException* e) {
        e->Delete(); // the probe has no visible effect, failures included
    }
    return 0;
}

uint32_t CheckWarningHeader(CHttpFile& request) {
    uint32_t status = 0;
    uint32_t statusSize = sizeof status;
    char headers[4096];
    uint32_t headersLength = sizeof headers;
    // Search exactly what the query wrote: a block that could not be read (too large, or the
    // query failed) is searched as empty text, so the marker counts as absent.
    if (!request.QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, headers, &headersLength)) {
        headersLength = 0;
    }
    headers[std::min<uint32_t>(headersLength, sizeof headers - 1)] = '\0';
    if (std::strstr(headers, kNoticeMarker) != nullptr) {
        return 0;
    }
    if (!request.QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize)) {
        return 0;
    }
    return status;
}
