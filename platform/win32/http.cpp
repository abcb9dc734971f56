// The HTTP client classes on WinINet: each object owns one WinINet handle.
#include "platform/http.h"

// After platform/http.h: <wininet.h> defines the same names as macros with the same values.
#include "platform/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

#include <wininet.h>

namespace {

// Every call completes before it returns, so the context value is never looked at.
constexpr DWORD_PTR kContext = 1;

// Bounds that let a request to a silent or unreachable host end by itself.
constexpr DWORD kConnectTimeoutMs = 20000;
constexpr DWORD kTransferTimeoutMs = 30000;

struct InternetHandleCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

void SetTimeout(void* handle, DWORD option, DWORD ms) {
    InternetSetOptionW(handle, option, &ms, sizeof ms);
}

} // namespace

struct CInternetSession::Impl {
    InternetHandle root;
};

struct CHttpConnection::Impl {
    InternetHandle connection;
};

struct CHttpFile::Impl {
    InternetHandle request;
};

CInternetSession::CInternetSession(const char* agent) : m_impl(std::make_unique<Impl>()) {
    const std::wstring name = kx::WidenText(agent != nullptr ? agent : kx::AppName());
    m_impl->root.reset(
        InternetOpenW(name.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m_impl->root) {
        throw new CInternetException(GetLastError());
    }
    SetTimeout(m_impl->root.get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    SetTimeout(m_impl->root.get(), INTERNET_OPTION_SEND_TIMEOUT, kTransferTimeoutMs);
    SetTimeout(m_impl->root.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, kTransferTimeoutMs);
}

CInternetSession::~CInternetSession() = default;

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const char* server,
                                                                     uint16_t port) {
    auto impl = std::make_unique<CHttpConnection::Impl>();
    impl->connection.reset(InternetConnectW(m_impl->root.get(), kx::WidenText(server).c_str(), port,
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, kContext));
    if (!impl->connection) {
        return nullptr;
    }
    return std::make_unique<CHttpConnection>(std::move(impl));
}

CHttpConnection::CHttpConnection(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CHttpConnection::~CHttpConnection() = default;

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const char* verb, const char* object,
                                                        uint32_t flags) {
    auto impl = std::make_unique<CHttpFile::Impl>();
    // The version is named: left out, some WinINet implementations send HTTP/1.1.
    impl->request.reset(HttpOpenRequestW(m_impl->connection.get(), kx::WidenText(verb).c_str(),
                                         kx::WidenText(object).c_str(), L"HTTP/1.0", nullptr,
                                         nullptr, flags, kContext));
    if (!impl->request) {
        return nullptr;
    }
    return std::make_unique<CHttpFile>(std::move(impl));
}

CHttpFile::CHttpFile(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CHttpFile::~CHttpFile() = default;

void CHttpFile::SendRequest() {
    if (!HttpSendRequestW(m_impl->request.get(), nullptr, 0, nullptr, 0)) {
        throw new CInternetException(GetLastError());
    }
}

// The narrow query: the header block is bytes on the wire, handed on as they are.
bool CHttpFile::QueryInfo(uint32_t infoLevel, void* buffer, uint32_t* length) {
    DWORD size = *length;
    const bool ok = HttpQueryInfoA(m_impl->request.get(), infoLevel, buffer, &size, nullptr);
    if (ok || GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        *length = size;
    }
    return ok;
}
