// CheckWarningHeader and the HTTP layer beneath it, against a real server on 127.0.0.1.
#include "ScriptedHttpServer.h"
#include "platform/http.h"
#include "web/WebProbe.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace {

// A sent request for the notice page on the test server, or a test failure.
struct SentRequest {
    CInternetSession session;
    std::unique_ptr<CHttpConnection> connection;
    std::unique_ptr<CHttpFile> file;

    explicit SentRequest(const ScriptedHttpServer& server) {
        connection = session.GetHttpConnection("127.0.0.1", server.Port());
        if (!connection) {
            ADD_FAILURE() << "no connection object";
            return;
        }
        file = connection->OpenRequest("GET", "kxwizard.html", INTERNET_FLAG_EXISTING_CONNECT);
        if (!file) {
            ADD_FAILURE() << "no request object";
            return;
        }
        try {
            file->SendRequest();
        } catch (CInternetException* e) {
            ADD_FAILURE() << "SendRequest failed with client error " << e->m_dwError;
            e->Delete();
            file.reset();
        }
    }
};

uint32_t CheckResponse(const std::string& response) {
    ScriptedHttpServer server;
    server.Respond(response);
    SentRequest request(server);
    return request.file ? CheckWarningHeader(*request.file) : 0xFFFFFFFFu;
}

// A response whose raw header block (status line to the closing blank line) is exactly
// `blockLength` characters long and ends with `lastHeader`.
std::string ResponseWithHeaderBlock(size_t blockLength, const std::string& lastHeader) {
    const std::string status = "HTTP/1.0 200 OK\r\n";
    const std::string filler = "X-Filler: ";
    const std::string fixed = status + filler + "\r\n" + lastHeader + "\r\n\r\n";
    return status + filler + std::string(blockLength - fixed.size(), 'f') + "\r\n" + lastHeader +
           "\r\n\r\n";
}

struct HeaderCase {
    const char* what;
    std::string response;
    uint32_t expected;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << c.what;
}

// "marker as a header name" -> "MarkerAsAHeaderName"
std::string CaseName(const testing::TestParamInfo<HeaderCase>& info) {
    std::string name;
    bool upper = true;
    for (const char* c = info.param.what; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c)) == 0) {
            upper = true;
        } else {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
            upper = false;
        }
    }
    return name;
}

class CheckWarningHeaderCases : public testing::TestWithParam<HeaderCase> {};

TEST_P(CheckWarningHeaderCases, ReturnsZeroForTheMarkerOtherwiseTheStatus) {
    EXPECT_EQ(CheckResponse(GetParam().response), GetParam().expected) << GetParam().what;
}

// A 200 or 404 response with the marker gives 0: had the status been asked for, it would be
// the result.
INSTANTIATE_TEST_SUITE_P(
    Responses, CheckWarningHeaderCases,
    testing::Values(
        HeaderCase{"marker as a header name",
                   "HTTP/1.0 200 OK\r\nMERIDOTTA-WARNING: maintenance\r\n\r\n", 0},
        HeaderCase{"marker inside a value",
                   "HTTP/1.0 200 OK\r\nX-Notice: see MERIDOTTA-WARNING-list\r\n\r\n", 0},
        HeaderCase{"marker in the status line", "HTTP/1.0 200 MERIDOTTA-WARNING\r\n\r\n", 0},
        HeaderCase{"marker with a 404", "HTTP/1.0 404 Not Found\r\nMERIDOTTA-WARNING: x\r\n\r\n",
                   0},
        HeaderCase{"marker after bare LF line ends",
                   "HTTP/1.0 200 OK\nServer: t\nMERIDOTTA-WARNING: x\n\n", 0},
        HeaderCase{"name with capitalised words", "HTTP/1.0 200 OK\r\nMeridotta-Warning: x\r\n\r\n",
                   200},
        HeaderCase{"name in lower case", "HTTP/1.0 503 Busy\r\nmeridotta-warning: x\r\n\r\n", 503},
        HeaderCase{"404 without the marker", "HTTP/1.0 404 Not Found\r\nServer: t\r\n\r\n", 404},
        HeaderCase{"HTTP/1.1 answer", "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\n\r\n", 500},
        HeaderCase{"marker only in the body",
                   "HTTP/1.0 200 OK\r\nContent-Length: 17\r\n\r\nMERIDOTTA-WARNING", 200},
        HeaderCase{"marker ending a block of 4095 characters",
                   ResponseWithHeaderBlock(4095, "MERIDOTTA-WARNING: x"), 0},
        // A block that does not fit the 4096-byte buffer cannot be read: it is searched as
        // empty text, so the marker counts as absent wherever it stands.
        HeaderCase{"marker ending a block of 4096 characters",
                   ResponseWithHeaderBlock(4096, "MERIDOTTA-WARNING: x"), 200},
        HeaderCase{"marker ending 8 KiB of headers",
                   ResponseWithHeaderBlock(8192, "MERIDOTTA-WARNING: x"), 200},
        HeaderCase{"marker starting 8 KiB of headers",
                   "HTTP/1.0 200 OK\r\nMERIDOTTA-WARNING: x\r\n" +
                       ResponseWithHeaderBlock(8192, "X-Last: y").substr(17),
                   200}),
    CaseName);

TEST(HttpLayer, RawHeadersAreTheStatusLineAndHeadersEachEndedByCrLf) {
    ScriptedHttpServer server;
    server.Respond("HTTP/1.0 302 Found\nLocation: /elsewhere\r\nX-Empty:\n\nbody");
    SentRequest request(server);
    ASSERT_TRUE(request.file);

    char text[256];
    uint32_t length = sizeof text;
    ASSERT_TRUE(request.file->QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, text, &length));
    const std::string expected = "HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\nX-Empty:\r\n\r\n";
    EXPECT_EQ(std::string(text), expected);
    EXPECT_EQ(length, expected.size());

    uint32_t status = 0;
    uint32_t statusSize = sizeof status;
    ASSERT_TRUE(request.file->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                        &statusSize));
    EXPECT_EQ(status, 302u);
    EXPECT_EQ(statusSize, 4u);
}

TEST(HttpLayer, TooSmallBuffersAreLeftUntouchedAndTheNeededSizeIsReported) {
    ScriptedHttpServer server;
    server.Respond("HTTP/1.0 200 OK\r\nServer: t\r\n\r\n"); // 30 characters
    SentRequest request(server);
    ASSERT_TRUE(request.file);

    char text[30];
    std::fill(std::begin(text), std::end(text), '#');
    uint32_t length = sizeof text;
    EXPECT_FALSE(request.file->QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, text, &length));
    EXPECT_EQ(length, 31u);
    EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '#'));

    uint16_t narrow = 0;
    uint32_t narrowSize = sizeof narrow;
    EXPECT_FALSE(request.file->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &narrow,
                                         &narrowSize));
    EXPECT_EQ(narrow, 0u);
}

TEST(HttpLayer, SendRequestReturnsOnceTheHeadersHaveArrivedWithoutWaitingForTheBody) {
    ScriptedHttpServer server;
    server.Respond("HTTP/1.0 200 OK\r\nContent-Length: 1000000\r\n\r\nthe first bytes", true);
    SentRequest request(server); // would block until the client's time-out if it read the body
    ASSERT_TRUE(request.file);
    EXPECT_EQ(CheckWarningHeader(*request.file), 200u);
    server.Release();
}

TEST(HttpLayer, FailuresToSendAreThrownAsInternetExceptions) {
    const uint16_t closedPort = [] {
        ScriptedHttpServer probe; // a port that was free a moment ago and is closed now
        return probe.Port();
    }();
    for (const char* host : {"127.0.0.1", "kxwizard-notices.invalid"}) {
        CInternetSession session;
        const auto connection = session.GetHttpConnection(host, closedPort);
        ASSERT_TRUE(connection) << host;
        const auto request = connection->OpenRequest("GET", "kxwizard.html", 0);
        ASSERT_TRUE(request) << host;
        bool thrown = false;
        try {
            request->SendRequest();
        } catch (CInternetException* e) {
            thrown = true;
            EXPECT_NE(e->m_dwError, 0u) << host;
            e->Delete(); // the leak checker tells when Delete does not free the object
        }
        EXPECT_TRUE(thrown) << host;

        char text[64];
        uint32_t length = sizeof text;
        EXPECT_FALSE(request->QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, text, &length)) << host;
        EXPECT_EQ(CheckWarningHeader(*request), 0u) << host;
    }
}

} // namespace
