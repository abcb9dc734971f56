// The HTTP client classes on libcurl: one easy handle per request, HTTP/1.0, the transfer
// ended as soon as the response headers are complete.
#include "platform/http.h"

#include "platform/process.h"

#include <cstring>
#include <curl/curl.h>
#include <mutex>
#include <string>
#include <string_view>

namespace {

// Bounds that let a request to a silent or unreachable host end by itself.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kTransferTimeoutSeconds = 30;

void StartClient() {
    static std::once_flag started;
    static CURLcode result = CURLE_OK;
    std::call_once(started, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK) {
        throw new CInternetException(result);
    }
}

} // namespace

struct CInternetSession::Impl {
    std::string agent;
};

struct CHttpConnection::Impl {
    std::string agent;
    std::string host;
    uint16_t port;
};

struct CHttpFile::Impl {
    CURL* curl = nullptr;
    curl_slist* headers = nullptr;
    std::string rawHeaders; // status line and header lines, each ended by CR LF
    bool headersComplete = false;

    ~Impl() {
        curl_easy_cleanup(curl);
        curl_slist_free_all(headers);
    }

    static size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        const size_t received = size * count;
        std::string_view line(data, received);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        self->rawHeaders.append(line).append("\r\n");
        if (!line.empty()) {
            return received;
        }
        long status = 0;
        curl_easy_getinfo(self->curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 100 && status < 200) {
            self->rawHeaders.clear(); // an interim response: the final one follows
            return received;
        }
        self->headersComplete = true;
        return 0; // ends the transfer here: the body is never read
    }

    static size_t OnBody(char*, size_t, size_t, void*) { return 0; }
};

CInternetSession::CInternetSession(const char* agent) : m_impl(std::make_unique<Impl>()) {
    StartClient();
    m_impl->agent = agent != nullptr ? agent : kx::AppName();
}

CInternetSession::~CInternetSession() = default;

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const char* server,
                                                                     uint16_t port) {
    if (server == nullptr || *server == '\0') {
        return nullptr;
    }
    return std::make_unique<CHttpConnection>(std::make_unique<CHttpConnection::Impl>(
        CHttpConnection::Impl{m_impl->agent, server, port}));
}

CHttpConnection::CHttpConnection(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CHttpConnection::~CHttpConnection() = default;

// Each request is a transfer of its own, so `flags` (WinINet's connection reuse) has nothing
// to choose here.
std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const char* verb, const char* object,
                                                        uint32_t /*flags*/) {
    if (std::strcmp(verb, "GET") != 0) {
        return nullptr;
    }
    auto request = std::make_unique<CHttpFile::Impl>();
    request->curl = curl_easy_init();
    // Without an empty "Accept:" curl would add "Accept: */*"; the request carries no
    // header of the program's own.
    request->headers = curl_slist_append(nullptr, "Accept:");
    if (request->curl == nullptr || request->headers == nullptr) {
        return nullptr;
    }
    const std::string url =
        "http://" + m_impl->host + (*object == '/' ? "" : "/") + std::string(object);
    CURL* curl = request->curl;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    if (m_impl->port != INTERNET_INVALID_PORT_NUMBER) {
        curl_easy_setopt(curl, CURLOPT_PORT, static_cast<long>(m_impl->port));
    }
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, m_impl->agent.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, request->headers);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CHttpFile::Impl::OnHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, request.get());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CHttpFile::Impl::OnBody);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTransferTimeoutSeconds);
    // Signals cannot bound a name look-up on a worker thread; curl must not install any.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    return std::make_unique<CHttpFile>(std::move(request));
}

CHttpFile::CHttpFile(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CHttpFile::~CHttpFile() = default;

void CHttpFile::SendRequest() {
    m_impl->rawHeaders.clear();
    m_impl->headersComplete = false;
    const CURLcode result = curl_easy_perform(m_impl->curl);
    // The header callback stops the transfer on purpose, so curl reports a write error then.
    if (!m_impl->headersComplete) {
        throw new CInternetException(result != CURLE_OK ? result : CURLE_GOT_NOTHING);
    }
}

bool CHttpFile::QueryInfo(uint32_t infoLevel, void* buffer, uint32_t* length) {
    if (!m_impl->headersComplete) {
        return false;
    }
    if (infoLevel == HTTP_QUERY_RAW_HEADERS_CRLF) {
        const std::string& text = m_impl->rawHeaders;
        const size_t needed = text.size() + 1;
        if (needed > *length) {
            *length = static_cast<uint32_t>(needed);
            return false;
        }
        std::memcpy(buffer, text.c_str(), needed);
        *length = static_cast<uint32_t>(text.size());
        return true;
    }
    if (infoLevel == (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER)) {
        long status = 0;
        if (*length < sizeof(uint32_t) ||
            curl_easy_getinfo(m_impl->curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
            status <= 0) {
            return false;
        }
        const auto value = static_cast<uint32_t>(status);
        std::memcpy(buffer, &value, sizeof value);
        *length = sizeof value;
        return true;
    }
    return false;
}
