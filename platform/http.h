#pragma once
// The framework's HTTP client classes, as far as the web notice probe uses them: a session,
// a connection to one host, and one request whose response headers can be queried.
// Windows: thin wrappers over WinINet. Native builds: libcurl.
//
// Every call completes before it returns. Failures to start the client or to send the
// request are thrown as a CInternetException allocated with new; the catcher releases it
// with Delete().
#include <cstdint>
#include <memory>

// The WinINet values the program passes; the Windows backend hands them on unchanged.
constexpr uint16_t INTERNET_INVALID_PORT_NUMBER = 0; // the protocol's default port
constexpr uint32_t INTERNET_FLAG_EXISTING_CONNECT = 0x20000000;
constexpr uint32_t HTTP_QUERY_STATUS_CODE = 19;
constexpr uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr uint32_t HTTP_QUERY_FLAG_NUMBER = 0x20000000;

class CInternetException {
  public:
    explicit CInternetException(uint32_t error) : m_dwError(error) {}
    CInternetException(const CInternetException&) = delete;
    CInternetException& operator=(const CInternetException&) = delete;

    // Frees the exception object: it is thrown by pointer.
    void Delete() { delete this; }

    // WinINet's error number on Windows, libcurl's CURLcode elsewhere.
    const uint32_t m_dwError;

  private:
    ~CInternetException() = default;
};

class CHttpFile {
  public:
    struct Impl;
    explicit CHttpFile(std::unique_ptr<Impl> impl);
    ~CHttpFile(); // closes the request's handle
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    // Sends the request without extra headers or body and returns once the response's
    // headers have arrived; the body is never read. Throws CInternetException* on failure.
    void SendRequest();

    // HTTP_QUERY_RAW_HEADERS_CRLF: the status line and the headers, each line ended by CR LF,
    // as NUL-terminated text into `buffer`. *length is the buffer's size in bytes on entry and
    // the text's length without the NUL on success; when the text does not fit, nothing is
    // written, *length becomes the size needed and the result is false.
    // HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER: the status code as a uint32_t;
    // *length must be at least 4 and becomes 4.
    // False when the value cannot be given; never throws.
    bool QueryInfo(uint32_t infoLevel, void* buffer, uint32_t* length);

  private:
    std::unique_ptr<Impl> m_impl;
};

class CHttpConnection {
  public:
    struct Impl;
    explicit CHttpConnection(std::unique_ptr<Impl> impl);
    ~CHttpConnection(); // closes the connection's handle
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // A request for `object` on the connection's host, or nullptr. It goes out as HTTP/1.0
    // with no referrer and no accept types: the only kind of request the program makes.
    std::unique_ptr<CHttpFile> OpenRequest(const char* verb, const char* object, uint32_t flags);

  private:
    std::unique_ptr<Impl> m_impl;
};

class CInternetSession {
  public:
    struct Impl;
    // agent nullptr: the application's name. The system's configured proxy settings apply.
    // Throws CInternetException* when the client cannot start.
    explicit CInternetSession(const char* agent = nullptr);
    ~CInternetSession(); // closes the client's root handle
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A connection to `server` (INTERNET_INVALID_PORT_NUMBER: port 80), or nullptr. Nothing
    // goes on the network yet: an unknown or unreachable host fails in SendRequest.
    std::unique_ptr<CHttpConnection>
    GetHttpConnection(const char* server, uint16_t port = INTERNET_INVALID_PORT_NUMBER);

  private:
    std::unique_ptr<Impl> m_impl;
};
