// Sends the probe's request through the HTTP layer to 127.0.0.1:<port> and prints what
// CheckWarningHeader and the raw header query give, for a test driver to compare.
// Output: "result <n>" or "failed <error>", then "headers <length>" and the block itself.
#include "platform/http.h"
#include "web/WebProbe.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <port>\n", argv[0]);
        return 2;
    }
    try {
        CInternetSession session;
        const auto connection =
            session.GetHttpConnection("127.0.0.1", static_cast<uint16_t>(std::atoi(argv[1])));
        const auto request = connection ? connection->OpenRequest("GET", "kxwizard.html",
                                                                  INTERNET_FLAG_EXISTING_CONNECT)
                                        : nullptr;
        if (!request) {
            std::printf("failed no request object\n");
            return 1;
        }
        request->SendRequest();
        std::printf("result %u\n", static_cast<unsigned>(CheckWarningHeader(*request)));
        char headers[4096];
        uint32_t length = sizeof headers;
        if (request->QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, headers, &length)) {
            std::printf("headers %u\n%s", static_cast<unsigned>(length), headers);
        } else {
            std::printf("headers unreadable %u\n", static_cast<unsigned>(length));
        }
    } catch (CInternetException* e) {
        std::printf("failed %u\n", static_cast<unsigned>(e->m_dwError));
        e->Delete();
    }
    return 0;
}
